// The QtTest classes of kvui_tests, run one after another from a single main in
// main_window_test.cpp.
#pragma once

namespace kv {

int RunLanguageDialogTest(int argc, char** argv);
int RunDesktopTest(int argc, char** argv);

}  // namespace kv
