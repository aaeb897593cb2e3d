#include "app/shell.h"

#include <QCoreApplication>

namespace app {

void Shell::endProgram() {
    programEnded = true;
    QCoreApplication::exit(0);
}

}  // namespace app
