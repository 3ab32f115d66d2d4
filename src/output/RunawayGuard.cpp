#include "output/RunawayGuard.h"

#include "text/TextCase.h"

namespace tavro {

namespace {

constexpr std::uint64_t kOneSecond = 1000;

}  // namespace

RunawayGuard::Verdict RunawayGuard::CheckFiring(const std::u16string& trigger, std::uint64_t now) {
    const std::u16string key = UpperCase(trigger);
    Firings& firings = triggers_[key];
    if (firings.stopped) {
        return Verdict::Stopped;
    }
    if (lastTyped_.find(key) == std::u16string::npos) {
        return Verdict::Fire;
    }
    std::deque<std::uint64_t>& recent = firings.recent;
    while (!recent.empty() && now - recent.front() >= kOneSecond) {
        recent.pop_front();
    }
    if (recent.size() >= static_cast<std::size_t>(kMostFiringsPerSecond)) {
        firings.stopped = true;
        recent.clear();
        return Verdict::JustStopped;
    }
    recent.push_back(now);
    return Verdict::Fire;
}

void RunawayGuard::NoteTyped(const std::u16string& text) {
    lastTyped_ = UpperCase(text);
}

}  // namespace tavro
