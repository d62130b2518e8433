#include "run/desktop/desktopoperator.h"
#include "services/redact.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString errorText(const RunError &error)
{
    QString text = QStringLiteral("Error %1: %2").arg(error.number).arg(error.description.trimmed());
    if (!error.procedure.isEmpty())
        text += QStringLiteral("\n\nProcedimiento: ") + error.procedure;
    if (!error.record.isEmpty())
        text += QStringLiteral("\nRegistro: ") + error.record;
    if (!error.statement.isEmpty())
        text += QStringLiteral("\nSentencia: ") + error.statement;
    return redactPasswords(text);
}

} // namespace

ReportChoice DesktopOperator::chooseOnError(const RunError &error)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Traspasor KTZ"), errorText(error),
                    QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Abort);
    box.setEscapeButton(QMessageBox::Abort);
    switch (box.exec()) {
    case QMessageBox::Retry:
        return ChoiceRetry;
    case QMessageBox::Ignore:
        return ChoiceIgnore;
    default:
        return ChoiceAbort;
    }
}

bool DesktopOperator::askYesNo(const QString &text, const QString &title, MessageIcon icon, bool defaultYes)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DesktopOperator::showMessage(const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
