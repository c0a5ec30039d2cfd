#pragma once
// The stored results: every unit's UserValue is the source value converted into it.
#include "engine/Conversion.h"

class CRecordsetCategory;
class CRecordsetUnit;

// The scale of the unit record the set stands on.
UnitScale ScaleOf(const CRecordsetUnit& unit);

// Writes every unit's UserValue for the source value x, one edit and update per unit, all
// in one transaction: when it returns every value is stored, and on an error none is. The
// source unit keeps x bit for bit. Without a source unit of the category the category
// set stands on, nothing is written. The unit set stands where it stood before.
void RecalculateUnitValues(double x, CRecordsetCategory& categories, CRecordsetUnit& units);
