#pragma once
// The keep-typed-URLs dialog: the typed URLs the typed-URLs eraser would erase now;
// the checked ones go by their text to its KeptTexts list, so that a URL stays kept
// when the browser renumbers its values.
#include "app/KeepForm.h"
#include "engine/erasers/EraseRegistry.h"

class TfKeepTypedURLs : public TKeepForm {
public:
    explicit TfKeepTypedURLs(TComponent* owner);
    TEraseRegistry* Eraser = nullptr; // set by the caller before each showing
    TListView* lvURLs;

protected:
    [[nodiscard]] TEraser* EditedEraser() const override { return Eraser; }
    std::vector<std::string>& ExclusionList() override { return Eraser->KeptTexts; }
    void AddRows() override;
    [[nodiscard]] std::string RowKey(const TListItem& row) const override;
};

extern TfKeepTypedURLs* fKeepTypedURLs;
