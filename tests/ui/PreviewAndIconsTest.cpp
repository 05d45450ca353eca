// The preview window and the per-type icons.

#include "common/TestSupport.h"
#include "ui/GuiUserInterface.h"
#include "ui/icons/IconProvider.h"
#include "ui/PreviewWindow.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

TEST(PreviewWindow, ShowsPicturesTextOrFactsAndClosesOnSpaceOrEscape)
{
    TestSupport::TempTree tree;
    QImage picture(1600, 800, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString png = tree.at(QStringLiteral("photo.png"));
    ASSERT_TRUE(picture.save(png));
    QFile text(tree.at(QStringLiteral("notes.txt")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("first line\nsecond line\n");
    text.close();
    const QString blob = tree.at(QStringLiteral("data.bin"));
    QFile binary(blob);
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    for (int i = 0; i < 3000; ++i)
        binary.putChar(char(i * 7 % 256)); // control bytes: no text
    binary.close();

    GuiUserInterface ui;
    ui.preview(png);
    PreviewWindow* window = ui.previewWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->mode(), PreviewWindow::Mode::Image);
    const QPixmap shown = window->findChild<QLabel*>()->pixmap();
    EXPECT_LE(shown.width(), 560) << "large pictures are scaled down";
    EXPECT_EQ(shown.width(), 2 * shown.height()) << "keeping their proportions";

    ui.preview(tree.at(QStringLiteral("notes.txt")));
    EXPECT_EQ(ui.previewWindow(), window) << "one preview window, reused";
    EXPECT_EQ(window->mode(), PreviewWindow::Mode::Text);
    EXPECT_TRUE(window->findChild<QPlainTextEdit*>()->toPlainText().startsWith(QStringLiteral("first line\nsecond line")));
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_FALSE(window->isVisible());

    ui.preview(blob);
    EXPECT_EQ(window->mode(), PreviewWindow::Mode::Info);
    EXPECT_EQ(window->shownPath(), blob);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST(IconProvider, OneLookUpPerKindAndDistinctIconsPerType)
{
    IconProvider::setUpIconTheme();
    IconProvider& icons = IconProvider::shared();
    const int before = icons.cachedKindCount();
    const QIcon png1 = icons.iconForPath(QStringLiteral("/x/one.png"), false);
    const QIcon png2 = icons.iconForPath(QStringLiteral("/y/two.PNG"), false);
    EXPECT_EQ(icons.cachedKindCount(), before + 1) << "both names share one look-up";
    EXPECT_EQ(png1.cacheKey(), png2.cacheKey());
    const QIcon txt = icons.iconForPath(QStringLiteral("/x/readme.txt"), false);
    ASSERT_FALSE(png1.isNull()) << "the fallback icon theme is installed";
    ASSERT_FALSE(txt.isNull());
    EXPECT_NE(png1.name(), txt.name());
    EXPECT_FALSE(icons.folderIcon().isNull());
    EXPECT_FALSE(ActionIcons::trash().isNull());
    EXPECT_FALSE(ActionIcons::copy().isNull());
}
