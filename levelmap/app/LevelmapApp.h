// The drive-test application module: its application object with the command
// table, the per-document records, and the operations its initialisation and
// its one command run.
#pragma once

#include "acdocman.h"
#include "afxdllx.h"
#include "rxarxapp.h"

// The module's per-document record. Nothing in the module creates or reads
// one, so the record needs no fields; the data manager keeps the map of
// open documents to records and drops a document's record when it closes.
class CDocData {
 public:
  CDocData() {}
};

class CLevelmapApp : public AcRxArxApp {
 public:
  CLevelmapApp() : AcRxArxApp(true, true) {}

  // Framework part and commands (AcRxArxApp), then the menu, the host's
  // main-window caption and its small icon.
  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
  // Commands go; the menu, the caption and the icon stay.
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
  void RegisterServerComponents() override {}

  const AcRxArxCommandEntry* GetCommandTable() const override;

  // The command DTTest: the simulation warning, then the drive-test dialog
  // run modally with the module's resources current.
  static void KXLevelmap_DTTest();
  // Adds the pop-up menu "设计助手——Marlo" with the item "Road Text" through
  // the host's automation model, before the last two menus of the menu bar.
  static void AddMenu();
};

// The host's main-window caption: the maker's name, then the family title
// and the product title joined by two underscores, in square brackets.
CString LevelmapMainCaption();

extern CLevelmapApp theApp;
extern AcApDataManager<CDocData> DocVars;
extern AFX_EXTENSION_MODULE LevelmapDLL;
