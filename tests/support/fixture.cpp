#include "support/fixture.h"

#include "app/entry_windows.h"
#include "store/schema.h"
#include "ui/list_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <sys/stat.h>

namespace test {

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << "{\"" << shown.text.toStdString() << "\", 0x" << std::hex << shown.style << std::dec
         << ", \"" << shown.title.toStdString() << "\"}";
}

ui::Answer ScriptedMessages::show(const QString& text, int style, const QString& title) {
    shown.push_back({text, style, title});
    if (!ui::asksYesNo(style)) return ui::Answer::Ok;
    if (replies_.empty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return ui::Answer::No;
    }
    const ui::Answer reply = replies_.front();
    replies_.pop_front();
    return reply;
}

QStringList ScriptedMessages::texts() const {
    QStringList result;
    for (const Shown& message : shown) result << message.text;
    return result;
}

QDateTime fixedMoment() { return QDateTime(QDate(2024, 3, 5), QTime(9, 5, 3)); }

ShopTest::ShopTest() {
    const QString path = store::databaseFilePath(folder.path());
    if (const QString failure = store::createDatabase(db, path); !failure.isEmpty())
        ADD_FAILURE() << "database creation: " << failure.toStdString();
    if (!db.open(path, store::kDatabaseUser, store::kDatabasePassword))
        ADD_FAILURE() << "database open: " << db.lastError().toStdString();
    mainWindow = std::make_unique<QWidget>();
    mainWindow->resize(800, 570);
    mainWindow->show();
    mainWindow->activateWindow();
    QApplication::setActiveWindow(mainWindow.get());
    shell.mainWindow = mainWindow.get();
    shell.openProductCatalogue = [this] { app::openEntryWindow(shell, app::kEntryCatalogue); };
}

ShopTest::~ShopTest() {
    EXPECT_EQ(messages.unusedReplies(), 0u) << "scripted answers left unused";
    mainWindow.reset();
}

QStringList ShopTest::rows(const QString& sql, const QStringList& values) {
    store::RecordSet set = db.query(sql, values);
    QStringList result;
    for (size_t r = 0; r < set.rowCount(); ++r) {
        QStringList cells;
        for (size_t c = 0; c < set.columnCount(); ++c) cells << set.cell(r, c);
        result << cells.join(u'|');
    }
    return result;
}

void ShopTest::exec(const QString& sql, const QStringList& values) {
    ASSERT_TRUE(db.execute(sql, values)) << sql.toStdString() << ": " << db.lastError().toStdString();
}

void typeInto(QWidget* box, const QString& text) {
    QLineEdit* edit = qobject_cast<QLineEdit*>(box);
    if (auto* combo = qobject_cast<QComboBox*>(box)) edit = combo->lineEdit();
    if (!edit) {
        ADD_FAILURE() << "not a text box: " << box->objectName().toStdString();
        return;
    }
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // One key press per character, so every edit-changed handler sees the typing. Qt's test
    // key mapping knows only ASCII, so other characters arrive as key events carrying their text.
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(edit, QString(c));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
}

void pressEnter(QWidget* control) { QTest::keyClick(control, Qt::Key_Return); }

void click(QAbstractButton* button) {
    ASSERT_TRUE(button->isVisible() && button->isEnabled())
        << "cannot click " << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

void choose(QComboBox* box, const QString& item) {
    const int index = box->findText(item, Qt::MatchExactly);
    ASSERT_GE(index, 0) << "no item " << item.toStdString() << " in "
                        << box->objectName().toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void selectRow(ui::ListView* list, int row) { list->selectRow(row); }

QStringList items(QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    return texts;
}

void trigger(QAction* action) { action->trigger(); }

QWidget* focused() { return QApplication::focusWidget(); }

int fileMode(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return -1;
    return status.st_mode & 0777;
}

}  // namespace test
