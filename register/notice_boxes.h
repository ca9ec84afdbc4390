#pragma once
// Puts the register's notices before the trainee: each one in a modal message box, the
// critical ones with the critical icon. The program listens to its register with one; so does a
// test that wants to see the boxes a run would show.

#include "register/register_events.h"
#include "register/services.h"

namespace tarvel {

class NoticeBoxes : public RegisterEvents {
  public:
    explicit NoticeBoxes(MessageBoxes& boxes) : boxes_(boxes) {}
    void notice(const Notice& notice) override {
        boxes_.show(notice.text, kProgramTitle,
                    notice.kind == Notice::Kind::Critical ? MessageBoxes::Icon::Critical
                                                          : MessageBoxes::Icon::None);
    }

  private:
    MessageBoxes& boxes_;
};

} // namespace tarvel
