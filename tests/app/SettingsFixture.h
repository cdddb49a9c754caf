// A private settings store for a test: XDG_CONFIG_HOME points at a
// temporary folder of the test's own (the registry store and the documents
// folder's entry live there), restored afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "platform/base/Registry.h"
#include "tests/app/TempFolder.h"

class TSettingsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FTemp.Path().empty());
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) FOldConfig = old;
        ::setenv("XDG_CONFIG_HOME", (FTemp.Path() + "/config").c_str(), 1);
        std::filesystem::create_directories(FTemp.Path() + "/config");
        std::filesystem::create_directories(FTemp.Path() + "/Documents");
        FTemp.Write("config/user-dirs.dirs",
                    "XDG_DOCUMENTS_DIR=\"" + FTemp.Path() + "/Documents\"\n");
        RegistryStoreReset();
    }
    void TearDown() override
    {
        if (FOldConfig) ::setenv("XDG_CONFIG_HOME", FOldConfig->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        RegistryStoreReset();
    }

    const TTempFolder& Temp() const { return FTemp; }
    String Documents() const { return UTF8ToString(FTemp.Path() + "/Documents"); }
    // A new folder below the test's folder; its full name.
    std::string MakeFolder(const std::string& name) const
    {
        std::filesystem::create_directories(FTemp.File(name));
        return FTemp.File(name);
    }

    void CreateKey()
    {
        TRegistry reg;
        ASSERT_TRUE(reg.CreateKey(kSettingsKey));
    }
    void ClearSettings()
    {
        TRegistry reg;
        reg.DeleteKey(kSettingsKey);
    }
    bool HasValue(const String& name)
    {
        TRegistry reg(KEY_READ);
        return reg.OpenKeyReadOnly(kSettingsKey) && reg.ValueExists(name);
    }
    String Value(const String& name)
    {
        TRegistry reg(KEY_READ);
        if (!reg.OpenKeyReadOnly(kSettingsKey) || !reg.ValueExists(name)) return L"<missing>";
        return reg.ReadString(name);
    }

private:
    TTempFolder FTemp;
    std::optional<std::string> FOldConfig;
};
