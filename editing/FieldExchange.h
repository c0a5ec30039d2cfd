#pragma once
// Exchange between a dialog's fields and the columns of a record being edited: an empty
// field stands for the column's NULL, both ways.
#include "framework/DataExchange.h"

#include "store/DaoRecordset.h"

#include <string>

// Load: the column's text, empty for NULL, in a field that takes no more than the 255
// characters a text column holds. Save: NULL for an empty field, else the text as typed
// (no trimming).
void ExchangeColumnText(CDataExchange& dx, int id, CDaoRecordset& set, std::wstring& member);

// Load: "%.*g" with 15 digits, empty for NULL. Save: NULL for an empty field, else the
// number read by ReadFieldNumber. An infinity or -0 that the field still shows as loaded
// is kept as it is; any other text shows "Please enter a number." and fails the exchange
// on this field.
void ExchangeColumnNumber(CDataExchange& dx, int id, CDaoRecordset& set, double& member);

// Load: unchecked for NULL, else the flag. Save: checked is true.
void ExchangeColumnCheck(CDataExchange& dx, int id, CDaoRecordset& set, bool& member);

// A number field's text: blanks and tabs around one decimal number and nothing else. A
// zero must be written with a leading digit 0, so ".0", "-0" and "+0" are refused.
bool ReadFieldNumber(const std::wstring& text, double& value);
