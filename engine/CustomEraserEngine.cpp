#include "engine/CustomEraserEngine.h"
#include "engine/erasers/Eraser.h"
#include <windows.h>

void TCustomEraserEngine::AddEraser(TEraser* Eraser) {
    Eraser->Engine = this;
    Erasers.push_back(Eraser);
}

void TCustomEraserEngine::DoProgress(TEraser* Sender, const std::string& Msg) {
    if (OnProgress) OnProgress(Sender, Msg);
}

void TCustomEraserEngine::ProcessMessages() {
    if (!OnProcessMessages) return;
    const uint64_t now = GetTickCount64();
    if (FLastPump && now - FLastPump < PumpInterval) return;
    FLastPump = now;
    OnProcessMessages();
}

void TCustomEraserEngine::Execute() {
    ResetCounters();
    FLastPump = 0;
    for (TEraser* eraser : Erasers) {
        ProcessMessages();
        if (eraser->Enabled) RunEraser(*eraser);
        if (Cancelled) break;
    }
}

TWorkQueue& TCustomEraserEngine::FileWorkers() {
    constexpr unsigned Workers = 2; // three were slower than two, on two cores and on eight
    if (!FFileWorkers) FFileWorkers = std::make_unique<TWorkQueue>(Workers);
    return *FFileWorkers;
}

void TCustomEraserEngine::ResetCounters() {
    KeysErased = ValuesErased = FoldersErased = FilesErased = 0;
    BytesErased = 0;
}

void TCustomEraserEngine::RunEraser(TEraser& Eraser) {
    DoProgress(&Eraser, "Erasing " + Eraser.Caption + "...");
    bool failed = false;
    try {
        Eraser.Erase();
    } catch (...) {
        failed = true; // ends this eraser only; what it counted stays counted
    }
    if (failed)
        DoProgress(&Eraser, "Erasing " + Eraser.Caption + " failed.");
    else if (!Cancelled)
        DoProgress(&Eraser, Eraser.Caption + " Erased.");
    DoProgress(nullptr, "");
}
