// The downloader's four windows made as velmora_d makes them, on the
// headless backend, with a private settings store.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/InfoWindow.h"
#include "app/MainWindow.h"
#include "app/ProxyWindow.h"
#include "app/SiteConstants.h"
#include "app/WaitWindow.h"
#include "controls/edits/vodlued.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/backend/Headless.h"
#include "tests/app/AppServer.h"
#include "tests/app/SettingsFixture.h"

class MainFormTest : public TSettingsFixture {
protected:
    void SetUp() override
    {
        TSettingsFixture::SetUp();
        Drv = std::make_unique<THeadlessDriver>();
        InitForms();
        Application->SetTitle(kApplicationTitle);
        Application->CreateForm(_mainForm);
        Application->CreateForm(_proxyForm);
        Application->CreateForm(_waitForm);
        Application->CreateForm(_InfoForm);
        Form = _mainForm;
        Form->DownloadBaseSettings.appFolder = UTF8ToString(std::string(VEL_BINARY_DIR) + "/app/");
        Form->DownloadBaseSettings.settleMs = 0;
    }
    void TearDown() override
    {
        PumpUntil([] { return RunningDownloadThreads() == 0; });
        DoneForms();
        _mainForm = nullptr;
        _proxyForm = nullptr;
        _waitForm = nullptr;
        _InfoForm = nullptr;
        item_list.Clear();
        Drv.reset();
        TSettingsFixture::TearDown();
    }
    // The main window shown and active: the settings are read.
    void ShowAndActivate()
    {
        Form->Show();
        Drv->Activate(Form->Handle());
        Drv->Pump();
    }
    void Reactivate()
    {
        Drv->DeactivateApp();
        Drv->Pump();
        Drv->Activate(Form->Handle());
        Drv->Pump();
    }
    String Cell(Integer row, Integer col)
    {
        TListItem* item = Form->MainListView->Items()->Item(row);
        return col == 0 ? item->Caption() : item->SubItems()->Strings(col - 1);
    }
    Integer Rows() { return Form->MainListView->Items()->Count(); }
    TItem Entry(Integer i)
    {
        TItem it;
        item_list.Get(i, it);
        return it;
    }
    // Pumps until the entry's row shows the text in the Progress column.
    bool WaitForProgress(Integer row, const String& text)
    {
        return PumpUntil([&] { return Rows() > row && Cell(row, 2) == text; });
    }
    // Adds a link the way a user pastes it and presses Enter: the key goes
    // through the link box's own key handling.
    void AddLink(const String& link)
    {
        Form->LinkVodLUEdit->SetFocus();
        Form->LinkVodLUEdit->SetText(link);
        Drv->PressKey(VK_RETURN);
    }

    std::unique_ptr<THeadlessDriver> Drv;
    T_mainForm* Form = nullptr;
};
