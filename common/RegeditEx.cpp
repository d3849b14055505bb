// CRegeditEx: reading and writing registry values in one call each; every call
// opens the key, does its one thing and closes it again.
#include "RegeditEx.h"

#include "textconv.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace
{

// The capacity GetRegeditValue and GetKey read with, in bytes.
const DWORD REGEDIT_VALUE_BYTES = 255;
// The scratch capacity of FindKey, in bytes.
const DWORD FINDKEY_SCRATCH_BYTES = 256;
// "As large as the value": the caller did not say how large its buffer is.
const DWORD UNKNOWN_CAPACITY = 0xFFFFFFFFu;

BOOL IsTextType(DWORD dwType)
{
	return dwType == REG_SZ || dwType == REG_EXPAND_SZ || dwType == REG_MULTI_SZ;
}

// Copies the default into the output, cut to nSize characters with the
// terminator.
void CopyDefault(LPCTSTR lpDefault, LPTSTR lpOut, DWORD nSize)
{
	if (lpOut == NULL || nSize == 0)
		return;
	if (lpDefault == NULL)
		lpDefault = _T("");
	size_t nLen = wcslen(lpDefault);
	if (nLen > nSize - 1)
		nLen = nSize - 1;
	wmemcpy(lpOut, lpDefault, nLen);
	lpOut[nLen] = _T('\0');
}

// The bytes of a text value as the registry stores them (UTF-16), from the
// wide characters a query delivered for cbData bytes.
std::vector<BYTE> StoredTextBytes(const TCHAR* pszText, DWORD cbData)
{
	std::vector<BYTE> arBytes;
	const size_t nUnits = cbData / 2;
	for (size_t i = 0; arBytes.size() / 2 < nUnits; ++i)
	{
		std::u16string strUnits = win::WideToUtf16(std::wstring_view(pszText + i, 1));
		if (strUnits.empty())
			strUnits = u"\0";
		for (char16_t c : strUnits)
		{
			if (arBytes.size() / 2 >= nUnits)
				break;
			arBytes.push_back((BYTE)(c & 0xFF));
			arBytes.push_back((BYTE)(c >> 8));
		}
	}
	return arBytes;
}

// Reads a text value into lpOut, a buffer of nSize characters.
int ReadText(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPCTSTR lpDefault, LPTSTR lpOut, DWORD nSize)
{
	HKEY hSubKey = NULL;
	if (RegOpenKeyEx(hKey, lpSubKey, 0, KEY_READ, &hSubKey) != ERROR_SUCCESS)
	{
		CopyDefault(lpDefault, lpOut, nSize);
		return -1;
	}
	DWORD dwType = REG_NONE;
	DWORD dwSize = 0;
	LONG lResult = RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, NULL, &dwSize);
	// A number or binary value has no terminator to stop at: it is not text.
	std::vector<TCHAR> arText;
	if (lResult == ERROR_SUCCESS && IsTextType(dwType))
	{
		arText.assign(dwSize / 2 + 2, _T('\0'));
		lResult = RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, (LPBYTE)arText.data(), &dwSize);
	}
	else if (lResult == ERROR_SUCCESS)
	{
		lResult = ERROR_INVALID_DATA;
	}
	RegCloseKey(hSubKey);
	if (lResult != ERROR_SUCCESS)
	{
		CopyDefault(lpDefault, lpOut, nSize);
		return -2;
	}
	const size_t nLen = wcsnlen(arText.data(), arText.size());
	if (lpOut == NULL || nLen + 1 > nSize)
	{
		CopyDefault(lpDefault, lpOut, nSize);
		return -2;
	}
	wmemcpy(lpOut, arText.data(), nLen);
	lpOut[nLen] = _T('\0');
	return (int)(nLen + 1);
}

}  // namespace

CRegeditEx::CRegeditEx()
{
}

CRegeditEx::~CRegeditEx()
{
}

CRegeditEx& CRegeditEx::operator=(const CRegeditEx& other)
{
	UNREFERENCED_PARAMETER(other);
	return *this;
}

int CRegeditEx::GetRegeditValue(HKEY hKey, CString strSubKey, CString strValueName, LPTSTR lpValue)
{
	HKEY hSubKey = NULL;
	if (RegOpenKeyEx(hKey, strSubKey, 0, KEY_READ, &hSubKey) != ERROR_SUCCESS)
		return 0;
	DWORD dwSize = REGEDIT_VALUE_BYTES;
	LONG lResult = RegQueryValueEx(hSubKey, strValueName, NULL, NULL, (LPBYTE)lpValue, &dwSize);
	RegCloseKey(hSubKey);
	return lResult == ERROR_SUCCESS ? 1 : 0;
}

int CRegeditEx::GetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPCTSTR lpDefault, LPTSTR lpOut)
{
	return ReadText(hKey, lpSubKey, lpValueName, lpDefault, lpOut, lpOut != NULL ? UNKNOWN_CAPACITY : 0);
}

int CRegeditEx::GetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPCTSTR lpDefault, LPTSTR lpOut,
                            DWORD nSize)
{
	return ReadText(hKey, lpSubKey, lpValueName, lpDefault, lpOut, lpOut != NULL ? nSize : 0);
}

DWORD CRegeditEx::GetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, DWORD dwDefault)
{
	DWORD dwResult = dwDefault;
	HKEY hSubKey = NULL;
	if (RegOpenKeyEx(hKey, lpSubKey, 0, KEY_READ, &hSubKey) != ERROR_SUCCESS)
		return dwResult;
	DWORD dwType = REG_NONE;
	DWORD dwSize = 0;
	if (RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, NULL, &dwSize) == ERROR_SUCCESS &&
	    dwSize == sizeof(DWORD))
	{
		if (IsTextType(dwType))
		{
			// Text arrives as wide characters: take its four stored bytes.
			TCHAR szText[3] = {0};
			if (RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, (LPBYTE)szText, &dwSize) == ERROR_SUCCESS)
			{
				std::vector<BYTE> arBytes = StoredTextBytes(szText, dwSize);
				if (arBytes.size() == sizeof(DWORD))
					dwResult = arBytes[0] | (arBytes[1] << 8) | (arBytes[2] << 16) | ((DWORD)arBytes[3] << 24);
			}
		}
		else
		{
			DWORD dwValue = 0;
			if (RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, (LPBYTE)&dwValue, &dwSize) == ERROR_SUCCESS)
				dwResult = dwValue;
		}
	}
	RegCloseKey(hSubKey);
	return dwResult;
}

int CRegeditEx::GetKey(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPBYTE lpData)
{
	HKEY hSubKey = NULL;
	if (RegOpenKeyEx(hKey, lpSubKey, 0, KEY_READ, &hSubKey) != ERROR_SUCCESS)
		return 0;
	DWORD dwType = REG_NONE;
	DWORD dwSize = REGEDIT_VALUE_BYTES;
	LONG lResult = RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, NULL, &dwSize);
	if (lResult == ERROR_SUCCESS && lpData != NULL)
	{
		if (dwSize > REGEDIT_VALUE_BYTES)
		{
			lResult = ERROR_MORE_DATA;
		}
		else if (IsTextType(dwType))
		{
			// The byte buffer gets the text's stored bytes, which always fit
			// in 255 bytes, never the wider characters of this machine.
			TCHAR szText[REGEDIT_VALUE_BYTES / 2 + 2] = {0};
			lResult = RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, (LPBYTE)szText, &dwSize);
			if (lResult == ERROR_SUCCESS)
			{
				std::vector<BYTE> arBytes = StoredTextBytes(szText, dwSize);
				if (!arBytes.empty())
					memcpy(lpData, arBytes.data(), arBytes.size());
			}
		}
		else
		{
			dwSize = REGEDIT_VALUE_BYTES;
			lResult = RegQueryValueEx(hSubKey, lpValueName, NULL, &dwType, lpData, &dwSize);
		}
	}
	RegCloseKey(hSubKey);
	return lResult == ERROR_SUCCESS ? 1 : 0;
}

int CRegeditEx::FindKey(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName)
{
	HKEY hSubKey = NULL;
	if (RegOpenKeyEx(hKey, lpSubKey, 0, KEY_READ, &hSubKey) != ERROR_SUCCESS)
		return 0;
	// Room for 256 bytes of any type, text included.
	TCHAR szScratch[FINDKEY_SCRATCH_BYTES] = {0};
	DWORD dwSize = FINDKEY_SCRATCH_BYTES;
	LONG lResult = RegQueryValueEx(hSubKey, lpValueName, NULL, NULL, (LPBYTE)szScratch, &dwSize);
	RegCloseKey(hSubKey);
	return lResult == ERROR_SUCCESS ? 1 : 0;
}

int CRegeditEx::SetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, LPCTSTR lpValue)
{
	if (lpValue == NULL)
		return 0;
	HKEY hSubKey = NULL;
	if (RegCreateKeyEx(hKey, lpSubKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &hSubKey, NULL) !=
	    ERROR_SUCCESS)
		return 0;
	// The full length in bytes as the registry counts text, terminator included.
	const DWORD cbData = (DWORD)((win::Utf16Length(lpValue) + 1) * 2);
	LONG lResult = RegSetValueEx(hSubKey, lpValueName, 0, REG_SZ, (const BYTE*)lpValue, cbData);
	RegCloseKey(hSubKey);
	return lResult == ERROR_SUCCESS ? 1 : 0;
}

int CRegeditEx::SetRegister(HKEY hKey, LPCTSTR lpSubKey, LPCTSTR lpValueName, DWORD dwValue)
{
	HKEY hSubKey = NULL;
	if (RegCreateKeyEx(hKey, lpSubKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL, &hSubKey, NULL) !=
	    ERROR_SUCCESS)
		return 0;
	LONG lResult = RegSetValueEx(hSubKey, lpValueName, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof(DWORD));
	RegCloseKey(hSubKey);
	return lResult == ERROR_SUCCESS ? 1 : 0;
}

int CRegeditEx::CreateKey(HKEY hKey, CString strSubKey)
{
	HKEY hSubKey = NULL;
	if (RegCreateKeyEx(hKey, strSubKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &hSubKey, NULL) !=
	    ERROR_SUCCESS)
		return 0;
	RegCloseKey(hSubKey);
	return 1;
}
