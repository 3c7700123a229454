#pragma once
class QApplication;

namespace zg {

// The program's hints (tooltips): shown at once, for 10 seconds, in 18-point blue type.
void ApplyHintBehaviour(QApplication& app);

} // namespace zg
