// Small pictures drawn in code: the program ships no image files of its own.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace trimora {

// The grain pictures of the part table and of the grain toggle: "keep" shows grain lines
// (the part keeps its orientation), otherwise a turning arrow (the part may be turned).
QPixmap GrainPixmap(bool keep, int size = 16);
QIcon GrainIcon(bool keep);

// The "x" between the length and the width fields of the part entry.
QPixmap TimesPixmap(int size = 10);

}  // namespace trimora
