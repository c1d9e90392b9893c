// Commands whose dialogs or pages a script cannot answer: the reassign
// dialog from the player's pop-up, and the help pages handed to the desktop.
#include <QComboBox>
#include <QDesktopServices>
#include <QRadioButton>
#include <QUrl>

#include "engine/format_store.h"
#include "engine/reassign_form.h"
#include "ui/window_fixture.h"

namespace kestrova::testing {
namespace {

// Records the help pages the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> Urls;
  public slots:
    void Open(const QUrl& url) { Urls << url; }
};

using OptionCommandsTest = WindowTest;

TEST_F(OptionCommandsTest, ReassignFromThePlayerMenuMovesThePlayer) {
    Make();
    SelectFormat(s(), "Default");
    form->show();
    for (const char* n : {"Ann", "Bob", "Cat"})
        Add(n);
    // Cat sits alone at the second table; Ann is moved there.
    RightClick(Box(0)->Seat(0).Name);
    QString title;
    WhenModal([&](QWidget* w) {
        auto* f = qobject_cast<TReassignForm*>(w);
        ASSERT_NE(f, nullptr);
        title = f->windowTitle();
        QTest::mouseClick(f->MoveChoice, Qt::LeftButton);
        const int other = f->TableList->findText(QString::number(s().Winners[0].Tables[1].TableNo));
        ASSERT_GE(other, 0);
        f->TableList->setCurrentIndex(other);
        QTest::mouseClick(f->OkButton, Qt::LeftButton);
    });
    m().PmReassign->trigger();
    EXPECT_EQ(title, "Reassign Player to Different Table");
    const TTableRec& second = s().Winners[0].Tables[1];
    ASSERT_TRUE(second.Full());
    EXPECT_TRUE(second.Seat[0]->Name == "Ann" || second.Seat[1]->Name == "Ann");
    EXPECT_EQ(Box(1)->Seat(0).Name->text() + Box(1)->Seat(1).Name->text(),
              QString::fromStdString(second.Seat[0]->Name + second.Seat[1]->Name));
}

TEST_F(OptionCommandsTest, HelpItemsOpenTheGuidePages) {
    Make();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "Open");
    m().HelpGuide->trigger();
    m().HelpFaq->trigger();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.Urls.size(), 2);
    EXPECT_TRUE(catcher.Urls[0].toLocalFile().endsWith("/how-to-use.md"));
    EXPECT_TRUE(catcher.Urls[1].toLocalFile().endsWith("/faq.md"));
    EXPECT_TRUE(QFileInfo::exists(catcher.Urls[0].toLocalFile()));
}

}  // namespace
}  // namespace kestrova::testing

#include "option_commands_test.moc"
