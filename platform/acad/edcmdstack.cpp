// The command stack: registering commands by group, global and local name, and
// finding the command a typed name means.
#include "edcmdstack.h"

#include <algorithm>
#include <cwctype>

#include "textutil.h"

namespace {

using win::textutil::EqualNoCase;

bool ValidName(const ACHAR* name) {
  if (!name || !*name) return false;
  for (const ACHAR* p = name; *p; ++p)
    if (std::iswspace(*p)) return false;
  return true;
}

}  // namespace

AcEdCommandStack* AcEdCommandStack::instance() {
  static AcEdCommandStack stack;
  return &stack;
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                               const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                               AcRxFunctionPtr functionAddr, AcEdUIContext* /*uiContext*/, int fcode,
                                               HINSTANCE hResourceHandle, AcEdCommand** cmdPtrRet) {
  if (!ValidName(cmdGroupName) || !ValidName(cmdGlobalName) || !functionAddr) return Acad::eInvalidInput;
  if (!ValidName(cmdLocalName)) cmdLocalName = cmdGlobalName;
  // A global name is unique in its group.
  for (const auto& c : m_commands)
    if (EqualNoCase(c->m_group, cmdGroupName) && EqualNoCase(c->m_global, cmdGlobalName)) return Acad::eDuplicateKey;
  auto cmd = std::make_unique<AcEdCommand>();
  cmd->m_group = cmdGroupName;
  cmd->m_global = cmdGlobalName;
  cmd->m_local = cmdLocalName;
  cmd->m_nFlags = commandFlags;
  cmd->m_pFunction = functionAddr;
  cmd->m_hResource = hResourceHandle;
  cmd->m_nFunctionCode = fcode;
  if (cmdPtrRet) *cmdPtrRet = cmd.get();
  m_commands.push_back(std::move(cmd));
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) {
  auto it = std::find_if(m_commands.begin(), m_commands.end(), [&](const auto& c) {
    return EqualNoCase(c->m_group, cmdGroupName) && EqualNoCase(c->m_global, cmdGlobalName);
  });
  if (it == m_commands.end()) return Acad::eKeyNotFound;
  m_commands.erase(it);
  return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const ACHAR* groupName) {
  size_t before = m_commands.size();
  std::erase_if(m_commands, [&](const auto& c) { return EqualNoCase(c->m_group, groupName); });
  return m_commands.size() == before ? Acad::eKeyNotFound : Acad::eOk;
}

const AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const ACHAR* globalName) const {
  // Later registrations hide earlier ones, as the top of a stack does.
  for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it)
    if (EqualNoCase((*it)->m_global, globalName)) return it->get();
  return nullptr;
}

const AcEdCommand* AcEdCommandStack::lookupLocalCmd(const ACHAR* localName) const {
  for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it)
    if (EqualNoCase((*it)->m_local, localName)) return it->get();
  return nullptr;
}

const AcEdCommand* AcEdCommandStack::lookupCmd(const ACHAR* typedName) const {
  if (!typedName || !*typedName) return nullptr;
  if (const AcEdCommand* c = lookupLocalCmd(typedName)) return c;
  if (const AcEdCommand* c = lookupGlobalCmd(typedName)) return c;
  if (typedName[0] == L'_') return lookupGlobalCmd(typedName + 1);
  return nullptr;
}

std::vector<const AcEdCommand*> AcEdCommandStack::commands() const {
  std::vector<const AcEdCommand*> all;
  for (const auto& c : m_commands) all.push_back(c.get());
  return all;
}
