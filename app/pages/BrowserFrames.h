#pragma once
// The Netscape/Mozilla, Opera and AOL pages: the same five boxes (four for AOL,
// whose boxes are all shown greyed), each for its browser's items.
#include "app/pages/ItemFrame.h"

class TTNetscapeMozilla : public TItemFrame {
public:
    explicit TTNetscapeMozilla(TComponent* owner);
};

class TTOpera : public TItemFrame {
public:
    explicit TTOpera(TComponent* owner);
};

class TTAOL : public TItemFrame {
public:
    explicit TTAOL(TComponent* owner);
};
