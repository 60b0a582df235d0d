#pragma once
// TDateTimePicker: the date and time picker (superclassed "SysDateTimePick32") showing
// a date or a time of day. OnChange fires (main thread) when the user changes it.
#include "classlib/base/DateUtils.h"
#include "classlib/gui/WinControl.h"

enum TDateTimeKind { dtkDate, dtkTime };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* owner);

    [[nodiscard]] TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind kind);
    [[nodiscard]] TDateTime DateTime() const;
    void SetDateTime(TDateTime value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    TDateTimeKind FKind = dtkDate;
    TDateTime FDateTime;
};
