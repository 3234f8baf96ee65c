#include "widgets/Globals.h"

Tinfform *infform = nullptr;
Tspform *spform = nullptr;
Tmappefilform *mappefilform = nullptr;
Tfavoritform *favoritform = nullptr;
Tprintform *printform = nullptr;
Tfilform *filform = nullptr;
Topenform *openform = nullptr;
Tfindformen *findformen = nullptr;
TmemoForm *memoForm = nullptr;
Tboksform *boksform = nullptr;
Tfilmappeform *filmappeform = nullptr;
Ttypeform *typeform = nullptr;
Toptform *optform = nullptr;
Tgenvejsform *genvejsform = nullptr;
