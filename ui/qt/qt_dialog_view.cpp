// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/qt/qt_dialog_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

#include "ui/control_ids.h"
#include "ui/list_order.h"
#include "ui/qt/control_widgets.h"
#include "ui/qt/password_prompt.h"
#include "ui/qt/pictures.h"
#include "ui/qt/template_font.h"

namespace zentor::ui::qt {
namespace {

using resources::ControlKind;

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

template <typename Widget>
Widget* As(QWidget* widget, int id) {
  auto* typed = qobject_cast<Widget*>(widget);
  if (!typed) throw std::invalid_argument("control " + std::to_string(id) + " is of another kind");
  return typed;
}

}  // namespace

QtDialogView::QtDialogView(resources::TemplateLanguage language,
                           const resources::DialogTemplate& dialog)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      language_(language),
      dialog_(dialog),
      font_(TemplateFont(language, dialog.fontPointSize)),
      guard_(this) {
  setFont(font_);
  units_ = BaseUnitsOf(font_);
  setFixedSize(ToPixels(units_, dialog.width, dialog.height));
  setModal(true);
  BuildControls(dialog);
}

void QtDialogView::BuildControls(const resources::DialogTemplate& dialog) {
  radios_ = new QButtonGroup(this);
  QWidget* previousTabStop = nullptr;
  for (const resources::ControlTemplate& control : dialog.controls) {
    QWidget* widget = MakeControlWidget(control, this);
    QRect place = ToPixels(units_, control.x, control.y, control.width, control.height);
    // A drop-down list's template height includes its open list; closed it is as high as
    // the font makes it.
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      const int closed = combo->sizeHint().height();
      combo->setMaxVisibleItems(
          std::max(1, (place.height() - closed) / combo->fontMetrics().height()));
      place.setHeight(closed);
    }
    widget->setGeometry(place);
    if (control.kind == ControlKind::GroupBox) widget->lower();
    if (control.style & resources::kTabStop) {
      if (previousTabStop) setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    }
    if (control.id >= 0) controls_[control.id] = widget;
    Wire(control, widget);
  }
}

void QtDialogView::Wire(const resources::ControlTemplate& control, QWidget* widget) {
  const int id = control.id;
  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
    case ControlKind::AutoCheckBox:
    case ControlKind::AutoRadioButton: {
      auto* button = As<QAbstractButton>(widget, id);
      if (control.kind == ControlKind::AutoRadioButton) radios_->addButton(button, id);
      connect(button, &QAbstractButton::clicked, this, [this, id] {
        if (!events_) return;
        if (id == kCloseButton) {
          Dispatch([this] { events_->CancelCommand(); });
        } else {
          Dispatch([this, id] { events_->Clicked(id); });
        }
      });
      break;
    }
    case ControlKind::DropDownList:
      // Only the user's choice counts as a selection change, never the program's own.
      connect(As<QComboBox>(widget, id), &QComboBox::activated, this, [this, id] {
        if (events_) Dispatch([this, id] { events_->SelectionChanged(id); });
      });
      break;
    default:
      break;
  }
}

void QtDialogView::Dispatch(const std::function<void()>& work) {
  InputGuard::Hold hold(guard_);
  work();
}

bool QtDialogView::Start(const std::function<void()>& start) {
  Dispatch(start);
  if (ended_) return false;
  show();
  // The focus goes to the first tab stop, the Close button.
  if (QWidget* first = Control(kCloseButton)) first->setFocus();
  return true;
}

int QtDialogView::RunModal(const std::function<void()>& start,
                           const std::function<void()>& shown) {
  if (!Start(start)) return endResult_;
  if (shown) QTimer::singleShot(0, this, [this, shown] { Dispatch(shown); });
  exec();
  return endResult_;
}

void QtDialogView::reject() {
  if (!events_ || guard_.raised() || !IsEnabled(kCloseButton)) return;
  Dispatch([this] { events_->CancelCommand(); });
}

void QtDialogView::EndDialog(int result) {
  ended_ = true;
  endResult_ = result;
  // The dialog closes itself through a close event, which the guard would take for the
  // user's close box.
  InputGuard::Opening opening(guard_);
  done(result);
}

QWidget* QtDialogView::Control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

const resources::ControlTemplate& QtDialogView::Template(int id) const {
  const resources::ControlTemplate* control = resources::FindControl(dialog_, id);
  if (!control) throw std::out_of_range("no control " + std::to_string(id));
  return *control;
}

void QtDialogView::SetText(int id, std::string_view text) {
  const resources::ControlTemplate& control = Template(id);
  QWidget* widget = Control(id);
  texts_[id] = std::string(text);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(FromUtf8(text));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(FromUtf8(text));
  } else if (control.kind == ControlKind::Edit) {
    SetEditText(widget, FromUtf8(text), control.style);
  }
}

// Every control the program writes is read-only for the user, so the text last set is what
// the control holds.
std::string QtDialogView::Text(int id) const {
  const auto found = texts_.find(id);
  if (found != texts_.end()) return found->second;
  return std::string(Template(id).caption);
}

void QtDialogView::SetCheck(int id, int state) {
  auto* button = As<QAbstractButton>(Control(id), id);
  // An exclusive group would refuse to clear its checked button.
  const bool inGroup = button->group() != nullptr;
  if (inGroup) radios_->setExclusive(false);
  button->setChecked(state != kUnchecked);
  if (inGroup) radios_->setExclusive(true);
}

int QtDialogView::Check(int id) const {
  return As<QAbstractButton>(Control(id), id)->isChecked() ? kChecked : kUnchecked;
}

void QtDialogView::SetEnabled(int id, bool enabled) {
  Control(id)->setEnabled(enabled);
}
bool QtDialogView::IsEnabled(int id) const {
  return Control(id)->isEnabled();
}
void QtDialogView::SetVisible(int id, bool visible) {
  Control(id)->setVisible(visible);
}
bool QtDialogView::IsVisible(int id) const {
  return !Control(id)->isHidden();
}

void QtDialogView::ClearList(int id) {
  As<QComboBox>(Control(id), id)->clear();
}

int QtDialogView::AddListEntry(int id, std::string_view text) {
  auto* combo = As<QComboBox>(Control(id), id);
  int index = combo->count();
  if (Template(id).style & resources::kSorted) {
    index = 0;
    while (index < combo->count() && !ListOrderLess(text, combo->itemText(index).toStdString())) {
      ++index;
    }
  }
  combo->insertItem(index, FromUtf8(text));
  return index;
}

int QtDialogView::ListCount(int id) const {
  return As<QComboBox>(Control(id), id)->count();
}

std::string QtDialogView::ListEntry(int id, int index) const {
  auto* combo = As<QComboBox>(Control(id), id);
  if (index < 0 || index >= combo->count()) return {};
  return combo->itemText(index).toStdString();
}

void QtDialogView::SelectListEntry(int id, int index) {
  auto* combo = As<QComboBox>(Control(id), id);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int QtDialogView::ListSelection(int id) const {
  return As<QComboBox>(Control(id), id)->currentIndex();
}

void QtDialogView::SetTitle(std::string_view title) {
  setWindowTitle(FromUtf8(title));
}

void QtDialogView::SetIcons(int iconResource) {
  setWindowIcon(IconResource(iconResource));
}

void QtDialogView::SetPicture(int id, int bitmapResource) {
  auto* picture = As<QLabel>(Control(id), id);
  const QPixmap pixmap = BitmapResource(bitmapResource);
  picture->setPixmap(pixmap);
  const int frame = 2 * picture->frameWidth();
  picture->resize(pixmap.width() + frame, pixmap.height() + frame);
}

ControlSize QtDialogView::SizeOfControl(int id) const {
  const QSize size = Control(id)->size();
  return {size.width(), size.height()};
}

void QtDialogView::ResizeControl(int id, ControlSize size) {
  Control(id)->resize(size.width, size.height);
}

void QtDialogView::SetProgressRange(int id, int low, int high) {
  As<QProgressBar>(Control(id), id)->setRange(low, high);
}

void QtDialogView::SetProgressPosition(int id, int position) {
  auto* bar = As<QProgressBar>(Control(id), id);
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
  if (bar->isVisible()) bar->repaint();
  // A transfer moves the bar many times between sleeps; each move is a chance to answer
  // the window manager.
  QCoreApplication::processEvents();
}

int QtDialogView::ShowMessageBox(const MessageBoxRequest& request) {
  InputGuard::Opening opening(guard_);
  QMessageBox box(IconOf(request.icon), FromUtf8(request.caption), FromUtf8(request.text),
                  QMessageBox::Ok, this);
  box.setFont(font_);
  box.exec();
  return kMessageBoxOk;
}

PasswordAnswer QtDialogView::RunPasswordDialog(int maxLength) {
  InputGuard::Opening opening(guard_);
  PasswordPrompt prompt(this, language_, maxLength);
  return prompt.Run();
}

void QtDialogView::RepaintNow() {
  if (isVisible()) repaint();
  // Lets the window system in: paints, and the window manager's are-you-alive pings. The
  // guard drops whatever the user did meanwhile.
  QCoreApplication::processEvents();
}

}  // namespace zentor::ui::qt
