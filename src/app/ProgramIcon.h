#pragma once

#include <QIcon>

namespace fenwold {

// The program's icon, on the main window and every document window: a 2 x 2 block of four
// colours, what every compressed sprite is made of. Drawn once, at the sizes window frames use.
const QIcon& ProgramIcon();

} // namespace fenwold
