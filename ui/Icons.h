#pragma once

#include <QIcon>

// The program's image list: fifteen small pictures, drawn in code. The entries in use:
// 0 new athlete, 1 search, 2 delete athlete, 3 change athlete, 4 show all, 5 exit,
// 8 start measurement, 9 settings, 10 trigger edge, 13 export.
namespace icons {

inline constexpr int kCount = 15;
QIcon image(int index);

} // namespace icons
