#pragma once
// The keep-cookies dialog: the cookie files the cookies eraser would erase now; the
// checked ones go to its Exclude list.
#include "app/KeepForm.h"
#include "engine/erasers/EraseFiles.h"

class TfKeepCookie : public TKeepForm {
public:
    explicit TfKeepCookie(TComponent* owner);
    TEraseFiles* Eraser = nullptr; // set by the caller before each showing
    TListView* lvCookies;

protected:
    [[nodiscard]] TEraser* EditedEraser() const override { return Eraser; }
    std::vector<std::string>& ExclusionList() override { return Eraser->Exclude; }
    void AddRows() override;
    [[nodiscard]] std::string RowKey(const TListItem& row) const override { return row.Caption(); }

private:
    [[nodiscard]] bool Listed(const std::string& name, const std::string& filter) const;
};

extern TfKeepCookie* fKeepCookie;
