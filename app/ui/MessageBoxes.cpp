#include "app/ui/MessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "app/UnattendedOperator.h"
#include "app/ui/QtText.h"

namespace qx {

namespace {


struct BoxButton {
  QMessageBox::StandardButton Button;
  MsgAnswer Answer;
  TextId Caption;
};

std::vector<BoxButton> ButtonsOf(MsgButtons buttons) {
  const BoxButton ok{QMessageBox::Ok, MsgAnswer::Ok, TextId::WndBoxOk};
  const BoxButton abort{QMessageBox::Abort, MsgAnswer::Abort, TextId::WndBoxAbort};
  const BoxButton yes{QMessageBox::Yes, MsgAnswer::Yes, TextId::WndBoxYes};
  const BoxButton no{QMessageBox::No, MsgAnswer::No, TextId::WndBoxNo};
  const BoxButton cancel{QMessageBox::Cancel, MsgAnswer::Cancel, TextId::WndBoxCancel};
  switch (buttons) {
    case MsgButtons::OkAbort: return {ok, abort};
    case MsgButtons::YesAbort: return {yes, abort};
    case MsgButtons::YesNo: return {yes, no};
    case MsgButtons::OkCancel: return {ok, cancel};
    case MsgButtons::Ok: break;
  }
  return {ok};
}

QMessageBox::Icon IconOf(MsgKind kind) {
  switch (kind) {
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Confirmation: return QMessageBox::Question;
    case MsgKind::Information: break;
  }
  return QMessageBox::Information;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, MsgKind kind, std::string_view text,
                                            MsgButtons buttons) {
  auto box = std::make_unique<QMessageBox>(IconOf(kind), QtText(TextId::ProgramTitle), QtText(text),
                                           QMessageBox::NoButton, parent);
  const auto list = ButtonsOf(buttons);
  for (const BoxButton& b : list) box->addButton(b.Button)->setText(QtText(b.Caption));
  box->setDefaultButton(list.front().Button);
  return box;
}

MsgAnswer AnswerOf(const QMessageBox& box, MsgButtons buttons) {
  if (QAbstractButton* clicked = box.clickedButton()) {
    for (const BoxButton& b : ButtonsOf(buttons))
      if (box.standardButton(clicked) == b.Button) return b.Answer;
  }
  return ClosedBoxAnswer(buttons);
}

MsgAnswer ShowMessageBox(QWidget* parent, MsgKind kind, std::string_view text, MsgButtons buttons) {
  const auto box = MakeMessageBox(parent, kind, text, buttons);
  box->exec();
  return AnswerOf(*box, buttons);
}

}  // namespace qx
