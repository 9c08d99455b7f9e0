// A Qt event loop as one of the shared loop stack's loops (shared/loop_stack.h).
#pragma once

#include <QEventLoop>

#include "platform/shared/loop_stack.h"

namespace lunvik::platform {

class CQtLoop : public CRunningLoop {
  public:
    // A modal loop takes no input for windows outside its dialog.
    explicit CQtLoop(bool modal)
        : m_flags(modal ? QEventLoop::DialogExec : QEventLoop::AllEvents) {}
    void Exec() override { m_loop.exec(m_flags); }
    void Exit() override { m_loop.exit(0); }
    QEventLoop& Loop() { return m_loop; }

  private:
    QEventLoop m_loop;
    QEventLoop::ProcessEventsFlags m_flags;
};

}  // namespace lunvik::platform
