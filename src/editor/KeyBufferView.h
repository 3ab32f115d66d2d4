#pragma once

#include <QWidget>

#include "platform/KeyBufferPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tavro {

// Page 4: what the key capture holds, live while keys are typed: the key
// buffer that triggers are matched against, the longer key diary, and the
// four modifier flags. The boxes only show; nothing here can be changed.
// While the page is out of sight it only keeps the texts, and shows them
// when it comes into view, so that typing elsewhere costs little.
class KeyBufferView final : public QWidget, public KeyBufferPage {
  public:
    explicit KeyBufferView(QWidget* parent = nullptr);

    void SetModifierChecks(bool alt, bool ctrl, bool shift, bool capsLock) override;
    void SetBufferTexts(const std::u16string& keyBuffer, const std::u16string& keyDiary) override;

    QLabel* const Label12;
    QLineEdit* const txtBuffer;
    QLabel* const Label13;
    QPlainTextEdit* const txtDiary;
    QCheckBox* const chkShift;
    QCheckBox* const chkCtrl;
    QCheckBox* const chkAlt;
    QCheckBox* const chkCapsLock;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowBufferTexts();

    QString keyBuffer_;
    QString keyDiary_;
};

}  // namespace tavro
