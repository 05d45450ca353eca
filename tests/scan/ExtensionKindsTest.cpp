// The per-extension memory of file kinds answers as the MIME database does.

#include "scan/ExtensionKinds.h"

#include <gtest/gtest.h>

#include <string>

TEST(ExtensionKinds, RememberedKindsMatchTheDatabaseForShortLongAndManyExtensions)
{
    ExtensionKinds kinds;
    const auto expectLikeDatabase = [&kinds](const std::string& name, const std::string& lowerCaseExtension) {
        const KindTable::Id expected = ExtensionKinds::lookUp(lowerCaseExtension);
        EXPECT_EQ(kinds.kindForName(name), expected) << name;
        EXPECT_EQ(kinds.kindForName(name), expected) << name << " (remembered)";
    };
    expectLikeDatabase("photo.png", "png");
    expectLikeDatabase("PHOTO.PNG", "png");
    EXPECT_EQ(kinds.kindForName("Photo.Png"), kinds.kindForName("a.png"));
    EXPECT_NE(kinds.kindForName("a.png"), kinds.kindForName("a.pdf"));
    expectLikeDatabase("archive.tar.gz", "gz");
    expectLikeDatabase("notes.markdown", "markdown");          // 8 bytes: the packed table
    expectLikeDatabase("page.shtml-backup", "shtml-backup");   // longer: the map
    expectLikeDatabase("README", "");
    expectLikeDatabase("trailing.", "");
    expectLikeDatabase(".bashrc", "bashrc");
    // "ab" and "ab\0..." must not meet: lengths differ only by zero padding.
    expectLikeDatabase("x.a", "a");
    expectLikeDatabase("x.ab", "ab");
    EXPECT_EQ(KindTable::text(kinds.kindForName("README")), QStringLiteral("Unknown File Type"));

    // More distinct short extensions than the packed table keeps: the rest are still
    // remembered right.
    for (int i = 0; i < 700; ++i)
        expectLikeDatabase("f.E" + std::to_string(i), "e" + std::to_string(i));
    expectLikeDatabase("again.PNG", "png");
    expectLikeDatabase("again.Markdown", "markdown");
}
