#include "ui/mainwindow/address_combo.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "core/browser/address_completion.h"

namespace quell::ui {

AddressCombo::AddressCombo(const std::vector<std::string>& history, NavigateFn navigate, QWidget* parent)
    : QComboBox(parent), m_navigate(std::move(navigate)) {
    setEditable(true);
    // Our own completion rules replace the combo's built-in completer, and
    // typed text is never added to the list.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setAccessibleName(QStringLiteral("Address"));
    for (const std::string& entry : history) addItem(QString::fromStdString(entry));
    setCurrentIndex(-1);
    setEditText(QString());

    lineEdit()->installEventFilter(this);
    installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &AddressCombo::completeFromList);
    connect(this, &QComboBox::activated, this, &AddressCombo::navigateToEntry);
}

bool AddressCombo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == this || watched == lineEdit()))
        return filterKeyPress(static_cast<QKeyEvent*>(event));
    return QComboBox::eventFilter(watched, event);
}

bool AddressCombo::filterKeyPress(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QString text = currentText();
        if (text.isEmpty()) return false;
        if (m_navigate) m_navigate(text.toStdString());
        return true;
    }
    case Qt::Key_Delete:
        m_completionEnabled = browser::CompletionAllowedAfterKey(browser::kVirtualKeyDelete);
        return false;
    case Qt::Key_Backspace:
        m_completionEnabled = browser::CompletionAllowedAfterKey(browser::kVirtualKeyBack);
        return false;
    default: m_completionEnabled = true; return false;
    }
}

void AddressCombo::completeFromList(const QString& typed) {
    if (!m_completionEnabled) return;
    QLineEdit* edit = lineEdit();
    std::optional<browser::EditSelection> selection;
    if (edit->hasSelectedText()) {
        const int start = edit->selectionStart();
        selection = browser::EditSelection{start, start + static_cast<int>(edit->selectedText().size())};
    } else {
        selection = browser::EditSelection{edit->cursorPosition(), edit->cursorPosition()};
    }

    std::vector<std::u16string> entries;
    entries.reserve(static_cast<size_t>(count()));
    for (int i = 0; i < count(); ++i) entries.push_back(itemText(i).toStdU16String());
    const browser::CompletionResult result = browser::CompleteAddress(entries, typed.toStdU16String(), selection);

    if (result.matchedIndex >= 0) {
        // Selecting the entry fills the field without counting as a choice,
        // so it does not navigate.
        setCurrentIndex(result.matchedIndex);
        edit->setText(QString::fromStdU16String(result.text));
    }
    const browser::EditSelection& sel = result.selection;
    if (sel.start == sel.end) edit->setCursorPosition(sel.start);
    else edit->setSelection(sel.start, sel.end - sel.start);
}

void AddressCombo::navigateToEntry(int index) {
    if (index < 0 || index >= count()) return;
    if (m_navigate) m_navigate(itemText(index).toStdString());
}

}  // namespace quell::ui
