#pragma once
// TListView: a report-style list view (superclassed "SysListView32") with columns,
// optional check boxes, grid lines, whole-row and multiple selection. Its items live
// here; the window shows them. Events fire on the main thread: OnChange when an item's
// caption is set or its check box changes, by the user or by code; OnSelectItem when
// an item's selection changes, likewise; OnClick when the user clicks the list,
// OnDblClick when they double-click it; OnEdited when the user ends editing a caption
// in place. A right click pops up PopupMenu. A cell whose text is cut shows the whole
// text in a hint while the pointer rests on it.
#include "classlib/gui/ImageList.h"
#include "classlib/gui/Menus.h"
#include "classlib/gui/WinControl.h"
#include <memory>
#include <vector>

class TListView;

class TListItem {
public:
    TListItem(TListView& owner) : FOwner(owner) {}
    [[nodiscard]] int Index() const;
    [[nodiscard]] const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    [[nodiscard]] const std::vector<std::string>& SubItems() const { return FSubItems; }
    void AddSubItem(const std::string& text);
    void SetSubItem(size_t index, const std::string& text); // an existing one, from 0
    void ClearSubItems();
    [[nodiscard]] bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    [[nodiscard]] int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index); // in the list view's SmallImages; -1 for none
    [[nodiscard]] bool Selected() const { return FSelected; }
    void SetSelected(bool value);
    void MakeFocused();   // the focused row, scrolled into view
    void* Data = nullptr; // not owned

private:
    friend class TListView;
    TListView& FOwner;
    std::string FCaption;
    std::vector<std::string> FSubItems;
    bool FChecked = false;
    bool FSelected = false;
    int FImageIndex = -1;
    int FIndex = 0; // kept by the list view
};

// Any list view: the class a skin tests controls for.
class TCustomListView : public TWinControl {
public:
    using TWinControl::TWinControl;
};

class TListView : public TCustomListView {
public:
    explicit TListView(TComponent* owner);

    // A width of FillWidth takes what the other columns leave of the client width.
    static constexpr int FillWidth = -1;
    enum TColumnKind {
        ckText, // cut at its end
        ckPath, // cut in the middle, keeping the file name
        ckName, // as wide as its longest text (the given width at least, half the list at most)
    };
    void AddColumn(const std::string& caption, int width, TColumnKind kind = ckText);
    [[nodiscard]] bool Checkboxes() const { return FCheckboxes; }
    void SetCheckboxes(bool value);
    [[nodiscard]] bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    [[nodiscard]] bool GridLines() const { return FGridLines; }
    void SetGridLines(bool value);
    // Whether captions can be edited in place (EditCaption, or a click on a selected
    // row's caption).
    [[nodiscard]] bool EditCaptions() const { return FEditCaptions; }
    void SetEditCaptions(bool value);
    [[nodiscard]] bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    [[nodiscard]] bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);

    // Not owned: the image list must outlive its use here.
    [[nodiscard]] TImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* images);

    TListItem* AddItem(); // an empty, unchecked last row
    // An empty, unchecked row at index (0 to Count()); the rows from there move down.
    TListItem* InsertItem(int index);
    void Delete(int index);
    void Clear();
    [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
    [[nodiscard]] TListItem* Items(int index) const { return FItems.at(index).get(); }
    [[nodiscard]] TListItem* Selected() const;                 // the first selected row, or nullptr
    [[nodiscard]] TListItem* FindData(const void* data) const; // nullptr when none has it
    [[nodiscard]] std::vector<TListItem*> SelectedItems() const; // in row order
    // Orders the rows by caption, ignoring letter case; equal captions keep their order.
    void SortByCaption();
    // Starts editing the row's caption in place (the window takes the focus).
    void EditCaption(TListItem* item);
    void BeginUpdate(); // no repainting until the matching EndUpdate
    void EndUpdate();
    // The first row scrolled into view (0 without a window), and scrolling to one.
    [[nodiscard]] int TopIndex() const;
    void SetTopIndex(int index);

    std::function<void(TObject* sender, TListItem* item)> OnChange;
    // The edited text; the caption takes it only when the handler sets accept.
    std::function<void(TObject* sender, TListItem* item, const std::string& text, bool& accept)>
        OnEdited;
    TNotifyEvent OnDblClick;
    TPopupMenu* PopupMenu = nullptr; // not owned
    std::function<void(TObject* sender, TListItem* item, bool selected)> OnSelectItem;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void WndProc(TMessage& message) override;

private:
    friend class TListItem;
    void ItemChanged(TListItem& item);
    void Renumber(size_t from);
    void ShowItem(const TListItem& item);
    void ShowText(const TListItem& item, int column, const std::string& text);
    [[nodiscard]] const std::string& CellText(const TListItem& item, int column) const;
    [[nodiscard]] RECT CellRect(int row, int column) const; // where the text is drawn
    void GetDisplayText(TMessage& message) const;
    void ShowCellHint(TMessage& message);
    void HideCellHint();
    void CustomDraw(TMessage& message);
    void FitColumnsLater();
    void TextShown(int column, const std::string& text);
    void TextReplaced(int column);
    void FitColumns();
    static UINT FitColumnsMessage(); // posted to fit the name columns once a batch is in
    [[nodiscard]] int TextLead(size_t column) const;
    void SetColumnWidths();
    void ShowCheck(const TListItem& item);
    void ShowSelection(const TListItem& item);
    [[nodiscard]] int ColumnWidth(size_t index);
    void ApplyStyle(DWORD style, bool on);
    void ShowImage(const TListItem& item);
    void ApplyExtendedStyle();
    void CNNotify(TMessage& message);
    void ItemStateChanged(const NMLISTVIEW& change);
    void CaptionEdited(TMessage& message, TListItem& item, const std::string& text);
    void WMContextMenu(TMessage& message);

    struct TColumn {
        std::string Caption;
        int Width;
        TColumnKind Kind;
        int Widest = 0; // of a name column: its longest text measured, in pixels
    };
    std::vector<TColumn> FColumns;
    // Name columns measure only the texts shown since they were fitted, unless a text
    // went (then every row again).
    std::vector<std::pair<int, std::string>> FUnmeasured;
    bool FRemeasure = false;
    std::vector<std::unique_ptr<TListItem>> FItems;
    TImageList* FSmallImages = nullptr;
    bool FCheckboxes = false;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FEditCaptions = false;
    bool FMultiSelect = false;
    bool FShowColumnHeaders = true;
    int FUpdateCount = 0;
    bool FPainting = false;  // path columns are cut only for the paint
    bool FFitPosted = false; // name columns are fitted once the queue gets to it
    POINT FHintCell{-1, -1}; // column, row
    LPARAM FLastMove = -1;   // the pointer's last place in the list, while it is in
};
