// Controls of the headless backend, for tests.
#pragma once

#include <string>
#include <vector>

namespace platform::headless {

struct ShownMessageBox {
    std::string text;     // code page 1250, as the game passed it
    std::string caption;
    unsigned type;
};

// Queues the answer to the next message box. A box shown with no answer queued
// fails the test that caused it (it is recorded and answered IDNO / IDOK).
void ScriptMessageBoxAnswer(int answer);
// Every box shown since the last call, oldest first; clears the record.
std::vector<ShownMessageBox> TakeShownMessageBoxes();
// Answers left unused; a test that scripted more answers than boxes sees them.
int PendingMessageBoxAnswers();
// True when a box was shown with no answer scripted; cleared by the call.
bool TakeUnscriptedMessageBox();

}  // namespace platform::headless
