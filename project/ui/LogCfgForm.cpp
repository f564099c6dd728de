#include "project/ui/LogCfgForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <initializer_list>

#include "base/Errors.h"
#include "texts/Texts.h"

namespace qx {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void SetIndex(QButtonGroup* group, int index) {
  if (QAbstractButton* b = group->button(index)) b->setChecked(true);
}

}  // namespace

QString QtFileFilter(std::string_view filter) {
  QStringList parts = Q(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    out << parts[i] + QStringLiteral(" (") + parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' ')) +
               QStringLiteral(")");
  return out.join(QStringLiteral(";;"));
}

TLogCfgForm::TLogCfgForm(std::string appDir, const MessageLog& log, Operator& op, QWidget* parent)
    : QDialog(parent), appDir_(std::move(appDir)), log_(log), op_(op) {
  setObjectName(QStringLiteral("LogCfgForm"));
  CheckBoxLog = new QCheckBox(this);
  CheckBoxLog->setObjectName(QStringLiteral("CheckBoxLog"));
  RadioGrpCreat = new QGroupBox(this);
  RadioGrpCreat->setObjectName(QStringLiteral("RadioGrpCreat"));
  RadioGrpMod = new QGroupBox(this);
  RadioGrpMod->setObjectName(QStringLiteral("RadioGrpMod"));
  LabelFNM = new QLabel(this);
  LabelFNM->setObjectName(QStringLiteral("LabelFNM"));
  EditLogName = new QLineEdit(this);
  EditLogName->setObjectName(QStringLiteral("EditLogName"));
  SpeedButtonOP = new QToolButton(this);
  SpeedButtonOP->setObjectName(QStringLiteral("SpeedButtonOP"));
  OK = new QPushButton(this);
  OK->setObjectName(QStringLiteral("OK"));
  OK->setDefault(true);

  creatGroup_ = new QButtonGroup(this);
  auto* creatLayout = new QVBoxLayout(RadioGrpCreat);
  for (int i = 0; i < 2; ++i) {
    auto* b = new QRadioButton(RadioGrpCreat);
    creatGroup_->addButton(b, i);
    creatLayout->addWidget(b);
    creatItems_.push_back(b);
  }
  modGroup_ = new QButtonGroup(this);
  auto* modLayout = new QVBoxLayout(RadioGrpMod);
  for (int i = 0; i < 3; ++i) {
    auto* b = new QRadioButton(RadioGrpMod);
    modGroup_->addButton(b, i);
    modLayout->addWidget(b);
    modItems_.push_back(b);
  }

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(LabelFNM);
  nameRow->addWidget(EditLogName, 1);
  nameRow->addWidget(SpeedButtonOP);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CheckBoxLog);
  layout->addWidget(RadioGrpCreat);
  layout->addWidget(RadioGrpMod);
  layout->addLayout(nameRow);
  layout->addWidget(OK, 0, Qt::AlignRight);

  SetCaptions();
  CheckBoxLog->setChecked(true);
  SetIndex(creatGroup_, LogLocationSystem);
  SetIndex(modGroup_, LogModeCreate);
  EditLogName->setText(QStringLiteral("GenKVTxX.log"));
  UpdateEnabled();

  ChooseLogFile = [this] {
    return QFileDialog::getOpenFileName(this, QString(), Q(appDir_), QtFileFilter(Text(TextId::LogCfgFilter)));
  };
  connect(CheckBoxLog, &QCheckBox::clicked, this, [this] { CheckBoxLogClick(); });
  // Only a change of the choice runs the handler: clicking the checked item again keeps the
  // mode the operator chose.
  connect(creatGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) RadioGrpCreatClick();
  });
  connect(SpeedButtonOP, &QToolButton::clicked, this, [this] { SpeedButtonOPClick(); });
  connect(OK, &QPushButton::clicked, this, [this] { OKClick(); });
  // Connected last: the location handler above has reset the mode when these run.
  connect(CheckBoxLog, &QCheckBox::toggled, this, [this] { StoreControls(); });
  connect(creatGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) StoreControls();
  });
  connect(modGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) StoreControls();
  });
  connect(EditLogName, &QLineEdit::textChanged, this, [this] { StoreControls(); });
  StoreControls();
}

void TLogCfgForm::BindSettings(LogSettings& settings) {
  settings_ = &settings;
  SetSettings(LogSettings(settings));
}

void TLogCfgForm::StoreControls() {
  if (!showingSettings_) *settings_ = ReadControls();
}

void TLogCfgForm::SetCaptions() {
  setWindowTitle(Q(Text(TextId::LogCfgCaption)));
  CheckBoxLog->setText(Q(Text(TextId::LogCfgGenerate)));
  RadioGrpCreat->setTitle(Q(Text(TextId::LogCfgLocation)));
  RadioGrpMod->setTitle(Q(Text(TextId::LogCfgCustomerConfig)));
  LabelFNM->setText(Q(Text(TextId::LogCfgFileNameLabel)));
  SpeedButtonOP->setText(Q(Text(TextId::LogCfgOpen)));
  OK->setText(Q(Text(TextId::LogCfgOk)));
  creatItems_[0]->setText(Q(Text(TextId::LogCfgSystemAuto)));
  creatItems_[1]->setText(Q(Text(TextId::LogCfgCustomerDefined)));
  modItems_[0]->setText(Q(Text(TextId::LogCfgCreateNew)));
  modItems_[1]->setText(Q(Text(TextId::LogCfgOverwrite)));
  modItems_[2]->setText(Q(Text(TextId::LogCfgAppend)));
}

// The location group follows the check box; the customer controls follow both.
void TLogCfgForm::UpdateEnabled() {
  const bool on = CheckBoxLog->isChecked();
  const bool customer = on && creatGroup_->checkedId() == LogLocationCustomer;
  RadioGrpCreat->setEnabled(on);
  RadioGrpMod->setEnabled(customer);
  SpeedButtonOP->setEnabled(customer);
  EditLogName->setEnabled(customer);
}

LogSettings TLogCfgForm::ReadControls() const {
  LogSettings s;
  s.Enabled = CheckBoxLog->isChecked();
  s.Location = creatGroup_->checkedId() == LogLocationCustomer ? LogLocationCustomer : LogLocationSystem;
  const int mode = modGroup_->checkedId();
  s.Mode = mode < 0 ? LogModeCreate : mode;
  s.FileName = EditLogName->text().toStdString();
  return s;
}

void TLogCfgForm::SetSettings(const LogSettings& settings) {
  const LogSettings s = settings;  // it may be the store that the controls change
  showingSettings_ = true;
  CheckBoxLog->setChecked(s.Enabled);
  SetIndex(creatGroup_, s.Location == LogLocationCustomer ? LogLocationCustomer : LogLocationSystem);
  SetIndex(modGroup_, s.Mode >= LogModeCreate && s.Mode <= LogModeAppend ? s.Mode : LogModeCreate);
  EditLogName->setText(QString::fromStdString(s.FileName));
  UpdateEnabled();
  showingSettings_ = false;
  StoreControls();
}

int TLogCfgForm::LogModeIndex() const { return settings_->Mode; }

std::string TLogCfgForm::LogFileName() const { return settings_->FileName; }

// The operator's tick enables every log control, the customer ones too: with the system
// location they then wait for a switch to the customer location.
void TLogCfgForm::CheckBoxLogClick() {
  const bool on = CheckBoxLog->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{RadioGrpCreat, RadioGrpMod, SpeedButtonOP, EditLogName})
    w->setEnabled(on);
}

void TLogCfgForm::RadioGrpCreatClick() {
  SetIndex(modGroup_, LogModeCreate);
  UpdateEnabled();
}

void TLogCfgForm::SpeedButtonOPClick() {
  const QString file = ChooseLogFile ? ChooseLogFile() : QString();
  if (!file.isEmpty()) EditLogName->setText(file);
}

void TLogCfgForm::OKClick() {
  if (creatGroup_->checkedId() == LogLocationCustomer && EditLogName->text().isEmpty()) {
    op_.Ask(MsgKind::Information, Text(TextId::LogCfgNameMissing), MsgButtons::Ok);
    EditLogName->setFocus();
    return;
  }
  accept();
}

// Captions follow the build's language; the controls show the settings in force (the
// start-up may have read them without the dialog), so opening and closing the dialog does
// not lose them.
void TLogCfgForm::FormShow() {
  SetCaptions();
  SetSettings(*settings_);
}

void TLogCfgForm::FormClose() {
  try {
    SaveLogConfig(appDir_, Settings());
  } catch (const EInOutError& e) {
    op_.Ask(MsgKind::Error, e.what(), MsgButtons::Ok);
  }
}

void TLogCfgForm::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TLogCfgForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TLogCfgForm::LoadLogConfig() {
  LogSettings s = Settings();
  qx::LoadLogConfig(appDir_, s);
  SetSettings(s);
}

LogWriteEnv TLogCfgForm::Env() const {
  LogWriteEnv env{appDir_, op_};
  env.KeepShortLog = KeepShortLog && KeepShortLog();
  env.Clock = Clock;
  env.Lang = Lang;
  return env;
}

// The check box only enables the controls: the log is written in every case.
bool TLogCfgForm::WriteLogFile() {
  if (settings_->Location != LogLocationCustomer) {
    WriteSystemLog();
    return true;
  }
  return WriteCustomerLog();
}

void TLogCfgForm::WriteSystemLog() { qx::WriteSystemLog(log_.Lines(), Env()); }

bool TLogCfgForm::WriteCustomerLog() {
  if (qx::WriteCustomerLog(log_.Lines(), LogModeIndex(), LogFileName(), Env())) return true;
  // A failed write closes the hidden dialog, which stores the settings.
  FormClose();
  return false;
}

}  // namespace qx
