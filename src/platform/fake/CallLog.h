#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro::fake {

// Every call made on the fake platform, in order, as text such as
// keybd_event(16,0,0,0) or ShowTrigger(3).
class CallLog {
  public:
    // Records the call that `describe` formats; formats nothing while
    // recording is off.
    template <typename Describe>
    void Record(Describe describe) {
        if (recording_) {
            calls_.push_back(describe());
        }
    }
    // Turns recording off, for benchmarks that run calls without end.
    void SetRecording(bool recording) { recording_ = recording; }
    void Clear() { calls_.clear(); }

    const std::vector<std::string>& Calls() const { return calls_; }
    // The calls whose text starts with one of the prefixes, in order.
    std::vector<std::string> CallsStartingWith(
        std::initializer_list<std::string_view> prefixes) const;

  private:
    std::vector<std::string> calls_;
    bool recording_ = true;
};

// Formats a call: the name, then the arguments separated by commas.
std::string FormatCall(std::string_view name, std::initializer_list<std::string> arguments);
// A text argument, UTF-8 between double quotes.
std::string Quoted(std::u16string_view text);

}  // namespace tavro::fake
