#pragma once

namespace tavro {

// Ends the program at once, without saving and without the shutdown steps.
class ProgramExit {
  public:
    virtual ~ProgramExit() = default;
    virtual void EndProgram(int exitCode) = 0;
};

}  // namespace tavro
