// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>
#include <QFont>
#include <functional>
#include <map>
#include <string>

#include "resources/dialog_template.h"
#include "ui/dialog_view.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/input_guard.h"

class QButtonGroup;

namespace zentor::ui::qt {

// The main dialog as a real window: widgets made and placed from dialog template 102 in
// the dialog units of the variant's font, the user's clicks and selections handed to the
// dialog's event table. While the dialog's own code runs (the start, any handler) the user
// is held off, and only a repaint or a message box lets the window system in.
class QtDialogView : public QDialog, public DialogView {
 public:
  explicit QtDialogView(resources::TemplateLanguage language,
                        const resources::DialogTemplate& dialog = resources::MainDialogTemplate());

  void Connect(DialogEvents* events) { events_ = events; }

  // Runs `start` with the window still hidden; unless that ended the dialog, shows the
  // window with the focus on its first tab stop and runs it modally; `shown`, when given,
  // runs once the modal loop has begun, over the visible window. Returns the result the
  // dialog ended with.
  int RunModal(const std::function<void()>& start, const std::function<void()>& shown = {});
  // The same without the modal loop, for tests that drive the window themselves.
  bool Start(const std::function<void()>& start);

  // The widget of a control id; nullptr when the template has none.
  QWidget* Control(int id) const;
  resources::TemplateLanguage language() const { return language_; }
  BaseUnits baseUnits() const { return units_; }
  bool ended() const { return ended_; }

  // --- the port
  void SetText(int id, std::string_view text) override;
  std::string Text(int id) const override;
  void SetCheck(int id, int state) override;
  int Check(int id) const override;
  void SetEnabled(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void SetVisible(int id, bool visible) override;
  bool IsVisible(int id) const override;
  void ClearList(int id) override;
  int AddListEntry(int id, std::string_view text) override;
  int ListCount(int id) const override;
  std::string ListEntry(int id, int index) const override;
  void SelectListEntry(int id, int index) override;
  int ListSelection(int id) const override;
  void SetTitle(std::string_view title) override;
  void SetIcons(int iconResource) override;
  void SetPicture(int id, int bitmapResource) override;
  ControlSize SizeOfControl(int id) const override;
  void ResizeControl(int id, ControlSize size) override;
  void SetProgressRange(int id, int low, int high) override;
  void SetProgressPosition(int id, int position) override;
  int ShowMessageBox(const MessageBoxRequest& request) override;
  PasswordAnswer RunPasswordDialog(int maxLength) override;
  void RepaintNow() override;
  void EndDialog(int result) override;

 protected:
  // Esc and the close box: the Close button's command, and nothing while it is disabled.
  void reject() override;

 private:
  void BuildControls(const resources::DialogTemplate& dialog);
  void Wire(const resources::ControlTemplate& control, QWidget* widget);
  void Dispatch(const std::function<void()>& work);
  const resources::ControlTemplate& Template(int id) const;

  resources::TemplateLanguage language_;
  const resources::DialogTemplate& dialog_;
  QFont font_;
  BaseUnits units_;
  std::map<int, QWidget*> controls_;
  std::map<int, std::string> texts_;  // what the program last set, returned as set
  QButtonGroup* radios_ = nullptr;
  DialogEvents* events_ = nullptr;
  InputGuard guard_;
  bool ended_ = false;
  int endResult_ = 0;
};

}  // namespace zentor::ui::qt
