#pragma once
// The Windows page: the catalogue's 21 Windows items.
#include "app/ItemFrame.h"

class TTWindowsFrame : public TItemFrame {
public:
    explicit TTWindowsFrame(TComponent* owner);
};
