#pragma once

// Every box exists once for the whole run; any part of the program reaches them through these
// pointers. They are created in this order at start-up (see app/Startup.h), after the main window,
// which only the program's top reaches (app/Main.h).
class Tinfform;
class Tspform;
class Tmappefilform;
class Tfavoritform;
class Tprintform;
class Tfilform;
class Topenform;
class Tfindformen;
class TmemoForm;
class Tboksform;
class Tfilmappeform;
class Ttypeform;
class Toptform;
class Tgenvejsform;

extern Tinfform *infform;
extern Tspform *spform;
extern Tmappefilform *mappefilform;
extern Tfavoritform *favoritform;
extern Tprintform *printform;
extern Tfilform *filform;
extern Topenform *openform;
extern Tfindformen *findformen;
extern TmemoForm *memoForm;
extern Tboksform *boksform;
extern Tfilmappeform *filmappeform;
extern Ttypeform *typeform;
extern Toptform *optform;
extern Tgenvejsform *genvejsform;
