// The settings' dialogs for tests: answers queued by the test, every dialog
// recorded. A question with no answer queued is answered No and noted.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "settings/settings_dialogs.h"

namespace wolby_test {

class ScriptedDialogs final : public SettingsDialogs {
public:
    struct Shown {
        std::string text;  // code page 1250, as the settings passed it
        std::string caption;
        bool question;     // Yes/No rather than a notice with OK
    };

    void Answer(bool yes) { answers_.push_back(yes); }

    bool AskYesNo(const char* text, const char* caption) override {
        shown_.push_back({text, caption, true});
        if (answers_.empty()) {
            unscripted_ = true;
            return false;
        }
        const bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    }
    void Tell(const char* text, const char* caption) override {
        shown_.push_back({text, caption, false});
    }

    // Every dialog since the last call, oldest first.
    std::vector<Shown> TakeShown() {
        std::vector<Shown> shown;
        shown.swap(shown_);
        return shown;
    }
    std::size_t PendingAnswers() const { return answers_.size(); }
    bool AskedUnscripted() const { return unscripted_; }

private:
    std::deque<bool> answers_;
    std::vector<Shown> shown_;
    bool unscripted_ = false;
};

}  // namespace wolby_test
