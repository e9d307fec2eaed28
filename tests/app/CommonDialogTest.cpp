#include "app/components/CommonDialog.h"

#include <gtest/gtest.h>

TEST(CommonDialog, FilterBecomesNulSeparatedPairs) {
    using namespace std::string_literals;
    EXPECT_EQ(app::CommonDialog::PlatformFilter(L"Audio Files (*.mp3)|*.mp3"), L"Audio Files (*.mp3)\0*.mp3\0\0"s);
}

TEST(CommonDialog, FileTitleIsTheNameWithoutItsFolder) {
    app::CommonDialog dialog(nullptr);
    dialog.SetFileName(L"D:\\Music\\song one.mp3");
    EXPECT_EQ(dialog.FileTitle(), L"song one.mp3");
    dialog.SetFileName(L"plain.mp3");
    EXPECT_EQ(dialog.FileTitle(), L"plain.mp3");
}
