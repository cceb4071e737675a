// A started main window over a fresh temporary folder: "app/" holds the
// settings file, "photos/" the user's files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/main_window_logic.h"
#include "tests/batch/fake_window_port.h"
#include "tests/support/temp_folder.h"

namespace imgcrypt::test {

class BatchFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        appDir = temp_ / "app/";
        photos = temp_ / "photos/";
        MakeFolders(appDir);
        MakeFolders(photos);
        locations = AppLocations{appDir + "config.db", appDir + "help/", appDir, "www.site.test"};
    }

    // Creates the window as the application does; `config` is the settings
    // file's content, none when the file should not exist.
    void Start(std::optional<std::string> config = "en\r\n") {
        if (config) WriteBytes(locations.configPath, *config);
        logic = std::make_unique<MainWindowLogic>(port, port, locations);
        logic->FormCreate();
    }
    // Started in a language, with the start-up calls forgotten.
    void StartIn(bool english) {
        Start(english ? "en\r\n" : "ch\r\n");
        port.ClearCalls();
    }

    // A path below the photos folder; `relative` may hold "/" between folders.
    std::string InPhotos(std::string_view relative) const { return photos + NativePath(relative); }

    std::string MakeFile(const std::string& name, std::string_view bytes) {
        const std::string path = InPhotos(name);
        WriteBytes(path, bytes);
        return path;
    }
    // A file of `size` zero bytes without writing them.
    std::string MakeSizedFile(const std::string& name, std::uintmax_t size) {
        const std::string path = InPhotos(name);
        WriteBytes(path, "");
        std::filesystem::resize_file(FsPath(path), size);
        return path;
    }
    // Picks files through the Open button.
    void Select(const std::vector<std::string>& paths) {
        port.dialogResults.push_back(paths);
        logic->btnopenClick();
        port.ClearCalls();
    }

    // Encrypt finds nothing selected: an empty progress range, the table's
    // message, then the open dialog with the table's filter (cancelled).
    void ExpectNothingSelectedIn(const LanguageTable& table) {
        port.ClearCalls();
        logic->btnencClick();
        EXPECT_EQ(port.Of("range"), std::vector<std::string>{"0..0"});
        EXPECT_EQ(port.Boxes(), std::vector<std::string>{
                                    "message: " + std::string(table.messages.msgNoImageEncrypt)});
        ASSERT_EQ(port.dialogRequests.size(), 1u);
        EXPECT_EQ(port.dialogRequests[0].filter, table.dialogFilter);
    }

    TempFolder temp_;
    std::string appDir;
    std::string photos;
    AppLocations locations;
    FakeWindowPort port;
    std::unique_ptr<MainWindowLogic> logic;
};

}  // namespace imgcrypt::test
