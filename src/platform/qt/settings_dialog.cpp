#include "platform/qt/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/settings.h"

namespace qm::platform {

int RunSettingsDialog(ProfileFile& profile, QWidget* parent) {
  SettingsModel model(profile);
  QDialog dlg(parent);
  dlg.setObjectName("TSysSetupDlg");
  dlg.setWindowTitle(QObject::tr("Settings"));
  auto* form = new QFormLayout;
  std::vector<std::function<void()>> collect;
  for (SettingField& f : model.Fields()) {
    QString label = QString::fromStdString(f.label);
    QString value = QString::fromStdString(f.value);
    switch (f.kind) {
      case SettingField::Kind::Flag: {
        auto* box = new QCheckBox;
        box->setChecked(f.value == "1");
        form->addRow(label, box);
        collect.push_back([&f, box] { f.value = box->isChecked() ? "1" : "0"; });
        break;
      }
      case SettingField::Kind::Choice: {
        auto* combo = new QComboBox;
        combo->setEditable(true);
        for (const auto& c : f.choices) combo->addItem(QString::fromStdString(c));
        combo->setCurrentText(value);
        form->addRow(label, combo);
        collect.push_back([&f, combo] { f.value = combo->currentText().toStdString(); });
        break;
      }
      case SettingField::Kind::Directory: {
        auto* row = new QWidget;
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        auto* edit = new QLineEdit(value);
        auto* browse = new QPushButton(QObject::tr("Browse..."));
        h->addWidget(edit);
        h->addWidget(browse);
        QObject::connect(browse, &QPushButton::clicked, &dlg, [&dlg, edit] {
          QString dir = QFileDialog::getExistingDirectory(&dlg, QString(), edit->text());
          if (!dir.isEmpty()) edit->setText(dir);
        });
        form->addRow(label, row);
        collect.push_back([&f, edit] { f.value = edit->text().toStdString(); });
        break;
      }
      default: {
        auto* edit = new QLineEdit(value);
        form->addRow(label, edit);
        collect.push_back([&f, edit] { f.value = edit->text().toStdString(); });
        break;
      }
    }
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  auto* v = new QVBoxLayout(&dlg);
  v->addLayout(form);
  v->addWidget(buttons);
  if (dlg.exec() != QDialog::Accepted) return 0;
  for (auto& c : collect) c();
  int result = model.Save();
  if (result < 0) {
    QMessageBox::warning(parent, QObject::tr("Settings"),
                         QObject::tr("The settings could not be saved to %1: %2")
                             .arg(QString::fromStdString(profile.Path()), QString::fromLocal8Bit(std::strerror(-result))));
  }
  return result;
}

}  // namespace qm::platform
