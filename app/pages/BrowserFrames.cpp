#include "app/pages/BrowserFrames.h"

namespace {

const TCatalogueItem NetscapeMozillaFavorites = ciNetscapeMozillaFavorites;
const TCatalogueItem OperaFavorites = ciOperaFavorites;

std::vector<TItemBox> AOLBoxes() {
    std::vector<TItemBox> boxes =
        BrowserItemBoxes(ciAOLCache, ciAOLLocationBar, ciAOLCookies, ciAOLFormsData, nullptr);
    for (TItemBox& box : boxes)
        box.Disabled = true;
    return boxes;
}

} // namespace

TTNetscapeMozilla::TTNetscapeMozilla(TComponent* owner)
    : TItemFrame(owner, BrowserItemBoxes(ciNetscapeMozillaCache, ciNetscapeMozillaLocationBar,
                                         ciNetscapeMozillaCookies, ciNetscapeMozillaFormsData,
                                         &NetscapeMozillaFavorites)) {
    SetName("TTNetscapeMozilla1");
}

TTOpera::TTOpera(TComponent* owner)
    : TItemFrame(owner, BrowserItemBoxes(ciOperaCache, ciOperaLocationBar, ciOperaCookies,
                                         ciOperaFormsData, &OperaFavorites)) {
    SetName("TTOpera1");
}

TTAOL::TTAOL(TComponent* owner) : TItemFrame(owner, AOLBoxes()) {
    SetName("TTAOL1");
}
