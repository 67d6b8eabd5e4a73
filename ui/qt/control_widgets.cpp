// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/qt/control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace zentor::ui::qt {
namespace {

using resources::ControlKind;
namespace res = resources;

QString Caption(const res::ControlTemplate& control) {
  return QString::fromUtf8(control.caption.data(), static_cast<qsizetype>(control.caption.size()));
}

// The platform's three frames: a thin sunken edge, the sunken frame of bordered edits, and
// the raised-and-sunken frame of the version and maker labels and the logo.
void SetFrame(QFrame* frame, std::uint32_t style) {
  if (style & res::kRaisedFrame) {
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(2);
  } else if (style & (res::kSunken | res::kThinEdge)) {
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
  }
}

QWidget* MakeLabel(const res::ControlTemplate& control, QWidget* parent) {
  auto* label = new QLabel(Caption(control), parent);
  label->setTextFormat(Qt::PlainText);
  Qt::Alignment alignment = (control.style & res::kCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
  alignment |= (control.style & res::kCentredVertically) ? Qt::AlignVCenter : Qt::AlignTop;
  label->setAlignment(alignment);
  SetFrame(label, control.style);
  return label;
}

QWidget* MakeEdit(const res::ControlTemplate& control, QWidget* parent) {
  if (control.style & res::kPasswordChars) {
    auto* line = new QLineEdit(parent);
    line->setEchoMode(QLineEdit::Password);
    return line;
  }
  auto* edit = new QTextEdit(parent);
  edit->setReadOnly(control.style & res::kReadOnly);
  edit->setAcceptRichText(false);
  // Lines scroll sideways instead of wrapping, and there are no scroll bars: the texts are
  // made to fit.
  if (control.style & res::kAutoHorizontalScroll) edit->setLineWrapMode(QTextEdit::NoWrap);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  if (control.style & res::kThinEdge) SetFrame(edit, control.style);
  edit->document()->setDocumentMargin(2);
  return edit;
}

}  // namespace

QWidget* MakeControlWidget(const res::ControlTemplate& control, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
      auto* button = new QPushButton(Caption(control), parent);
      button->setDefault(control.kind == ControlKind::DefaultPushButton);
      widget = button;
      break;
    }
    case ControlKind::StaticText:
      widget = MakeLabel(control, parent);
      break;
    case ControlKind::DropDownList:
      widget = new QComboBox(parent);
      break;
    case ControlKind::AutoCheckBox:
      widget = new QCheckBox(Caption(control), parent);
      break;
    case ControlKind::AutoRadioButton:
      widget = new QRadioButton(Caption(control), parent);
      break;
    case ControlKind::Edit:
      widget = MakeEdit(control, parent);
      break;
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ControlKind::GroupBox: {
      auto* group = new QGroupBox(Caption(control), parent);
      // Only a frame: it must never take the clicks meant for the buttons inside it.
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      widget = group;
      break;
    }
    case ControlKind::Picture: {
      auto* picture = new QLabel(parent);
      picture->setAlignment(Qt::AlignCenter);
      SetFrame(picture, control.style);
      widget = picture;
      break;
    }
  }
  if (widget->focusPolicy() != Qt::NoFocus) {
    widget->setFocusPolicy((control.style & res::kTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
  }
  return widget;
}

void SetEditText(QWidget* edit, const QString& text, std::uint32_t style) {
  if (auto* line = qobject_cast<QLineEdit*>(edit)) {
    line->setText(text);
    return;
  }
  auto* multiLine = qobject_cast<QTextEdit*>(edit);
  if (!multiLine) return;
  QString plain = text;
  plain.replace("\r\n", "\n");
  multiLine->setPlainText(plain);
  if (style & res::kCentred) {
    QTextCursor cursor(multiLine->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(format);
  }
}

}  // namespace zentor::ui::qt
