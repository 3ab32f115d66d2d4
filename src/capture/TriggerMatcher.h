#pragma once

namespace tavro {

class KeyBuffer;
class TriggerChoice;
class TriggerFiring;
class TriggerTable;

// Decides after every recorded key-down whether the key buffer ends with
// triggers: one fires at once, several are offered for the user to choose.
class TriggerMatcher {
  public:
    TriggerMatcher(KeyBuffer& keyBuffer, const TriggerTable& triggers, TriggerFiring& firing,
                   TriggerChoice& choice);

    void MatchTriggers();

  private:
    bool Matches(int slot) const;

    KeyBuffer& keyBuffer_;
    const TriggerTable& triggers_;
    TriggerFiring& firing_;
    TriggerChoice& choice_;
};

}  // namespace tavro
