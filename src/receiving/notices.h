#pragma once
// Stock receiving tells the user its outcomes and refusals as information notices (OK with the
// information icon) under the standard title.

#include "session/shell.h"

namespace receiving {

inline void notify(session::Shell& shell, const QString& text) {
    shell.showMessage(text, 0x40, ui::kStandardTitle);
}

}  // namespace receiving
