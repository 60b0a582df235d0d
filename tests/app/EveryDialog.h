#pragma once
// Every dialog of the program, made afresh on each call of a maker; the keep dialogs
// edit erasers of their own.
#include "app/CleanMethodSelectorForm.h"
#include "app/EditIEAutoFindForm.h"
#include "app/EditMethodForm.h"
#include "app/EditPasswordManagerForm.h"
#include "app/EnterPasswordForm.h"
#include "app/KeepCookiesForm.h"
#include "app/KeepTypedURLsForm.h"
#include "app/MethodsForm.h"
#include "engine/Progress.h"
#include "engine/erasers/EraseFiles.h"
#include "engine/erasers/EraseRegistry.h"
#include <functional>
#include <memory>
#include <vector>

class TEveryDialog {
public:
    using TMake = std::function<std::unique_ptr<TForm>()>;

    TEveryDialog() = default;
    TEveryDialog(const TEveryDialog&) = delete;
    TEveryDialog& operator=(const TEveryDialog&) = delete;

    [[nodiscard]] const std::vector<TMake>& Makers() const { return FMakers; }

private:
    template <class Form> static TMake Plain() {
        return [] { return std::make_unique<Form>(nullptr); };
    }
    template <class Form, class Eraser> static TMake Keeping(Eraser& eraser) {
        return [&eraser] {
            auto dialog = std::make_unique<Form>(nullptr);
            dialog->Eraser = &eraser;
            return std::unique_ptr<TForm>(std::move(dialog));
        };
    }

    TEraseFiles FCookies{"IEEraseCookies", "Cookies"};
    TEraseRegistry FTypedURLs{"IEEraseTypedURLs", "Typed URLs"};
    const std::vector<TMake> FMakers = {
        Keeping<TfKeepCookie>(FCookies),
        Keeping<TfKeepTypedURLs>(FTypedURLs),
        Plain<TfEditIEAutoFind>(),
        Plain<TfEditMethod>(),
        Plain<TfMethodsForm>(),
        Plain<TfEditPasswordManager>(),
        Plain<TfEnterPassword>(),
        Plain<TfCleanMethodSelector>(),
        Plain<TfProgress>(),
    };
};
