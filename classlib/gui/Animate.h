#pragma once
// TAnimate: the common animation control (superclassed "SysAnimate32") playing one of
// the shell's common AVI clips. Where the shell lacks the clip, or the system cannot
// draw it (Wine), the control stays empty and Open is false.
#include "classlib/gui/WinControl.h"

enum TCommonAVI {
    aviNone,
    aviFindFolder,
    aviFindFile,
    aviFindComputer,
    aviCopyFiles,
    aviCopyFile,
    aviRecycleFile,
    aviEmptyRecycle,
    aviDeleteFile
};

class TAnimate : public TWinControl {
public:
    explicit TAnimate(TComponent* owner);

    [[nodiscard]] TCommonAVI CommonAVI() const { return FCommonAVI; }
    void SetCommonAVI(TCommonAVI value);
    [[nodiscard]] bool Active() const { return FActive; }
    void SetActive(bool value);                       // plays (or stops) once the clip is open
    [[nodiscard]] bool Open() const { return FOpen; } // a clip is loaded and draws
    [[nodiscard]] int StartFrame() const { return FStartFrame; } // from 1
    void SetStartFrame(int value) { FStartFrame = value; }
    [[nodiscard]] int StopFrame() const { return FStopFrame; } // 0: the last frame
    void SetStopFrame(int value) { FStopFrame = value; }
    [[nodiscard]] int Repetitions() const { return FRepetitions; } // 0: endless
    void SetRepetitions(int value) { FRepetitions = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    void OpenClip();
    void ApplyActive();

    TCommonAVI FCommonAVI = aviNone;
    bool FActive = false;
    bool FOpen = false;
    int FStartFrame = 1;
    int FStopFrame = 0;
    int FRepetitions = 0;
};
