#include <deque>

#include "shell/platform/headless/headless.h"
#include "shell/platform/platform.h"

namespace platform {
namespace {
std::deque<int> g_answers;
std::vector<headless::ShownMessageBox> g_shown;
bool g_unscripted = false;
}  // namespace

int MessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    g_shown.push_back({text ? text : "", caption ? caption : "", type, owner != nullptr});
    if (g_answers.empty()) {
        g_unscripted = true;
        return (type & 0xF) == MB_YESNO ? IDNO : IDOK;
    }
    int answer = g_answers.front();
    g_answers.pop_front();
    return answer;
}

namespace headless {

void ScriptMessageBoxAnswer(int answer) { g_answers.push_back(answer); }

std::vector<ShownMessageBox> TakeShownMessageBoxes() {
    std::vector<ShownMessageBox> shown;
    shown.swap(g_shown);
    return shown;
}

int PendingMessageBoxAnswers() { return static_cast<int>(g_answers.size()); }

bool TakeUnscriptedMessageBox() {
    bool was = g_unscripted;
    g_unscripted = false;
    return was;
}

}  // namespace headless
}  // namespace platform
