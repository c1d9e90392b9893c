// The help pages, handed to the desktop: a page a script cannot answer.
#include <QDesktopServices>
#include <QUrl>

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
