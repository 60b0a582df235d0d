#pragma once
// The Windows page: the catalogue's 21 Windows items.
#include "app/pages/ItemFrame.h"

class TTWindowsFrame : public TItemFrame {
public:
    explicit TTWindowsFrame(TComponent* owner);
};
