// How the settings speak to the person: the question about the defaults when
// the file cannot be read, and the notice of a failed save. The shell hands in
// its message boxes, tests their own scripted answers, so the settings need no
// platform at all.
#pragma once

class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;
    // A question with the buttons Yes and No; true only when Yes was chosen.
    virtual bool AskYesNo(const char* text, const char* caption) = 0;
    // A notice with one OK button.
    virtual void Tell(const char* text, const char* caption) = 0;
};
