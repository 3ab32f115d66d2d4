#include "output/RunawayGuard.h"

#include "text/TextCase.h"

namespace tavro {

namespace {

constexpr std::uint64_t kOneSecond = 1000;

}  // namespace

RunawayGuard::Verdict RunawayGuard::CheckFiring(const std::u16string& trigger, std::uint64_t now) {
    Firings& firings = triggers_[UpperCase(trigger)];
    if (firings.stopped) {
        return Verdict::Stopped;
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

}  // namespace tavro
