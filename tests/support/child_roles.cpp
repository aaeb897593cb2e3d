#include "support/child_roles.h"

#include "masterdata/catalogue_window.h"
#include "session/shell.h"
#include "store/schema.h"
#include "support/fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace test {

namespace {

// Tells the parent each message as it is shown, then waits there to be killed.
class MessagesToParent : public ui::Messages {
public:
    ui::Answer show(const QString& text, int, const QString&) override {
        std::printf("%s\n", text.toUtf8().constData());
        std::fflush(stdout);
        for (;;) QThread::sleep(1);
    }
};

// Holds the file until the parent says in how many milliseconds to let go (at once when the
// parent is gone): "exclusive" as a backup tool might (no other program may even read), "write"
// as another program's write transaction (others may read; its commit at the end must wait for
// their reads).
int holdLock(const QString& path, const QString& kind) {
    store::Database db;
    if (!db.open(path, store::kDatabaseUser, store::kDatabasePassword)) return 1;
    const bool locked = kind == u"exclusive"
                            ? db.execute("BEGIN EXCLUSIVE")
                            : db.execute("BEGIN IMMEDIATE") &&
                                  db.execute("update 系统设置 set id=id");
    if (!locked) return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    char told[32] = {};
    if (std::fgets(told, sizeof told, stdin)) QThread::msleep(std::strtoul(told, nullptr, 10));
    return db.commit() ? 0 : 1;
}

// Adds one product through the catalogue window of the program folder's database.
int addProduct(int argc, char** argv, const QString& folder) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    store::Database db;
    if (!db.open(store::databaseFilePath(folder), store::kDatabaseUser, store::kDatabasePassword))
        return 1;
    MessagesToParent messages;
    store::FixedClock clock{fixedMoment()};
    session::Shell shell(db, messages, clock, folder);
    QWidget host;
    host.resize(800, 570);
    shell.mainWindow = &host;
    masterdata::CatalogueWindow window(shell, &host);
    const std::pair<QLineEdit*, const char*> fields[] = {
        {window.编辑框_助记码, "m1"}, {window.编辑框_款号, "k1"}, {window.编辑框_品名, "文胸"},
        {window.编辑框_库存, "10"}};
    for (const auto& [edit, text] : fields) edit->setText(QString::fromUtf8(text));
    window.按钮_添加->click();
    return 0;
}

}  // namespace

std::optional<int> runChildRole(int argc, char** argv) {
    const QString child = QString::fromLocal8Bit(qgetenv("SHOP_TEST_CHILD"));
    if (child.isEmpty()) return std::nullopt;
    const QString role = child.section(u':', 0, 0);
    const QString argument = child.section(u':', 1);
    if (role == u"create") {
        store::Database db;
        return store::createDatabase(db, argument).isEmpty() ? 0 : 1;
    }
    if (role == u"hold-lock") return holdLock(argument.section(u':', 1), argument.section(u':', 0, 0));
    if (role == u"add-product") return addProduct(argc, argv, argument);
    return 2;
}

LockHolder::LockHolder(const QString& path, Lock lock) {
    startChild(process_, "hold-lock",
               QStringLiteral("%1:%2").arg(lock == Lock::Exclusive ? "exclusive" : "write", path));
    EXPECT_TRUE(process_.waitForReadyRead(10000));
    EXPECT_EQ(process_.readLine().trimmed(), "locked");
}

void LockHolder::letGoIn(int milliseconds) {
    told_ = true;
    process_.write(QByteArray::number(milliseconds) + '\n');
    EXPECT_TRUE(process_.waitForBytesWritten(10000));
}

LockHolder::~LockHolder() {
    if (!told_) letGoIn(0);
    EXPECT_TRUE(process_.waitForFinished(20000));
    EXPECT_EQ(process_.exitCode(), 0);
}

void startChild(QProcess& child, const QString& role, const QString& argument) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SHOP_TEST_CHILD", role + u':' + argument);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {});
    EXPECT_TRUE(child.waitForStarted());
}

}  // namespace test
