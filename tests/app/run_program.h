// Runs the real entry function in-process on the offscreen platform, with a
// test's script started once the program's loop runs, on the loop's thread.
#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <functional>

#include "app/lunvik_main.h"

namespace lunvik::test {

// The entry function makes its own QApplication; the script is started from
// it. Returns the program's exit code.
inline int RunProgram(std::function<void()> script) {
    static std::function<void()> s_script;
    static const bool hooked = [] {
        qAddPreRoutine([] { QTimer::singleShot(0, [] { s_script ? s_script() : void(); }); });
        return true;
    }();
    (void)hooked;
    s_script = std::move(script);
    const int code = LunvikMain("lunvik");
    s_script = nullptr;
    return code;
}

}  // namespace lunvik::test
