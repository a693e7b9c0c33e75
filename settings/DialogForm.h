// The form that the windowing layer drives in a dialog run. The main form
// implements it; the windowing layer knows the form only through it.
#pragma once

#include "settings/DialogView.h"

namespace Settings {

class IDialogForm {
 public:
  virtual ~IDialogForm() = default;

  // Runs once the window exists and fills it through view.
  virtual void FormShow(IDialogView* view) = 0;
  // Runs whenever the window closes.
  virtual void FormClose() = 0;
  // True when the form wants the window closed without waiting for the user.
  virtual bool CloseRequested() const = 0;

  virtual void Button1Click() = 0;
  virtual void Button2Click() = 0;
  virtual void TabControl1Changing() = 0;
  virtual void TabControl1Change() = 0;
  // The tab strip's menu on the visible preset; paste only after a copy.
  virtual void CopyPreset() = 0;
  virtual void PastePreset() = 0;
  virtual void ClearPreset() = 0;
  virtual bool CanPastePreset() const = 0;
};

} // namespace Settings
