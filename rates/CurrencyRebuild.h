#pragma once
// The currency category rebuilt from a scanned rates document.
#include "rates/RatesDocument.h"

class CCatalogue;

// Replaces every unit of the currency category with the scan's currencies and names the
// category after the document's date; the euro becomes the source unit and the dollar (or
// the euro, without one) the current and target unit. All of it reaches the file as one
// change, or none of it does and CDaoException is thrown. Only while the catalogue shows
// the currency category: otherwise, and for a scan unusable for a rebuild, nothing is
// written and the answer is false.
bool RebuildCurrencyCategory(CCatalogue& catalogue, const RatesScan& scan);
