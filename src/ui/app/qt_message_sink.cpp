#include "ui/app/qt_message_sink.h"

#include <QMessageBox>

#include "ui/app/core_qt.h"

namespace quell::ui {

void QtMessageSink::showMessage(const std::string& text, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, QString(),
                    toQString(text), QMessageBox::Ok, m_parent);
    box.setObjectName("quellMessage");
    box.exec();
}

}  // namespace quell::ui
