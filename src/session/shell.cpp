#include "session/shell.h"

#include <QCoreApplication>

namespace session {

void Shell::endProgram() {
    programEnded = true;
    QCoreApplication::exit(0);
}

}  // namespace session
