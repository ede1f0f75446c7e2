#include "HelpWindow.h"

namespace canprog {

void HelpWindow::show() {
    visible_ = true;
    ++timesShown_;
    if (showListener_) showListener_();
}

}  // namespace canprog
