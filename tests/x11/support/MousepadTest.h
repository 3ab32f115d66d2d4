#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/TestDesktop.h"

namespace tavro::x11::test {

// The tests of one program share a desktop, started once, with a mousepad
// window in front and emptied before every test.
class MousepadTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        desktop_ = std::make_unique<TestDesktop>();
        editor_ = desktop_->OpenMousepadWindow();
    }
    static void TearDownTestSuite() { desktop_.reset(); }

    void SetUp() override { desktop_->ClearEditor(); }

    static inline std::unique_ptr<TestDesktop> desktop_;
    static inline WindowId editor_ = 0;
};

}  // namespace tavro::x11::test
