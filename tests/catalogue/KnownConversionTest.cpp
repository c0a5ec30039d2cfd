// Well-known conversions, with the expected values worked out here from the definitions
// (not from the catalogue), each looked up by unit name in the built catalogue and
// converted with the program's own ConvertValue.
#include "BuiltCatalogue.h"

#include "engine/Conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

namespace
{
// The definitions everything below is computed from.
const double kPi = 3.14159265358979323846;
const double kInch = 0.0254;           // international yard and pound, 1959
const double kFoot = 12 * kInch;
const double kYard = 3 * kFoot;
const double kMile = 1760 * kYard;
const double kPound = 0.45359237;      // kg
const double kGravity = 9.80665;       // m/s², CGPM 1901
const double kPoundForce = kPound * kGravity;
const double kUsGallon = 231 * kInch * kInch * kInch; // m³
const double kImperialGallon = 4.54609e-3;            // m³, UK 1985
const double kLightSpeed = 299792458;                 // m/s
const double kJulianYear = 365.25 * 86400;            // s
const double kAu = 149597870700;                      // m, IAU 2012
const double kCalorieIt = 4.1868;                     // J
const double kBtu = kCalorieIt * 1000 * kPound * 5 / 9; // J per lb and °F
const double kElementaryCharge = 1.602176634e-19;       // C, SI 2019
const double kPlanck = 6.62607015e-34;                  // J·s, SI 2019
const double kAvogadro = 6.02214076e23;                 // per mol, SI 2019
const double kGaussianResistance = kLightSpeed * kLightSpeed * 1e-5; // statV/statA in ohms

::testing::AssertionResult Converts(const char* category, const char* from, const char* to,
                                    double x, double expected)
{
    const auto* set = FindCategory(category);
    if (set == nullptr)
        return ::testing::AssertionFailure() << "no category " << category;
    const auto* source = FindUnit(*set, from);
    const auto* target = FindUnit(*set, to);
    if (source == nullptr || target == nullptr)
        return ::testing::AssertionFailure() << category << ": no unit " << (source ? to : from);
    const double r = ConvertValue(x, source->scale, target->scale);
    if (std::fabs(r - expected) <= 1e-12 * std::fabs(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::setprecision(17) << x << " " << from << " = " << r
                                         << " " << to << ", expected " << expected;
}
} // namespace

TEST(KnownConversions, Length)
{
    EXPECT_TRUE(Converts("Length", "mile (mi)", "kilometre (km)", 1, 1.609344));
    EXPECT_TRUE(Converts("Length", "inch (in)", "millimetre (mm)", 1, 25.4));
    EXPECT_TRUE(Converts("Length", "nautical mile (nmi)", "metre (m)", 1, 1852));
    EXPECT_TRUE(Converts("Length", "yard (yd)", "foot (ft)", 220, 660));
    EXPECT_TRUE(Converts("Length", "light-year (ly)", "metre (m)", 1, 9460730472580800));
    EXPECT_TRUE(Converts("Length", "parsec (pc)", "light-year (ly)", 1,
                         kAu * 648000 / kPi / (kLightSpeed * kJulianYear)));
    EXPECT_TRUE(Converts("Length", "US survey foot (ftUS)", "foot (ft)", 1, 1200.0 / 3937 / kFoot));
    EXPECT_TRUE(Converts("Length", "furlong (fur)", "mile (mi)", 8, 1));
}

TEST(KnownConversions, AreaAndVolume)
{
    EXPECT_TRUE(Converts("Area", "acre (ac)", "square metre (m²)", 1, 4840 * kYard * kYard));
    EXPECT_TRUE(Converts("Area", "square mile (mi²)", "acre (ac)", 1, 640));
    EXPECT_TRUE(Converts("Area", "hectare (ha)", "square foot (ft²)", 1, 1e4 / (kFoot * kFoot)));
    EXPECT_TRUE(Converts("Volume", "US gallon (US gal)", "litre (L)", 1, 3.785411784));
    EXPECT_TRUE(Converts("Volume", "imperial gallon (imp gal)", "litre (L)", 1, 4.54609));
    EXPECT_TRUE(Converts("Volume", "imperial pint (imp pt)", "US pint (US pt)", 1,
                         kImperialGallon / kUsGallon));
    EXPECT_TRUE(Converts("Volume", "US bushel (US bu)", "litre (L)", 1, 2150.42 * 1000 * std::pow(kInch, 3)));
    EXPECT_TRUE(Converts("Volume", "cubic foot (ft³)", "US gallon (US gal)", 1, 1728.0 / 231));
    EXPECT_TRUE(Converts("Volume", "US fluid ounce (US fl oz)", "millilitre (mL)", 1, kUsGallon / 128 * 1e6));
    EXPECT_TRUE(Converts("Volume", "oil barrel (bbl)", "US gallon (US gal)", 1, 42));
    EXPECT_TRUE(Converts("Cooking", "cup (US cup)", "millilitre (mL)", 1, kUsGallon / 16 * 1e6));
    EXPECT_TRUE(Converts("Cooking", "teaspoon (US tsp)", "tablespoon (US tbsp)", 3, 1));
    EXPECT_TRUE(Converts("Cooking", "pint (imp pt)", "fluid ounce (imp fl oz)", 1, 20));
}

TEST(KnownConversions, MassAndTime)
{
    EXPECT_TRUE(Converts("Mass", "pound (lb)", "kilogram (kg)", 1, 0.45359237));
    EXPECT_TRUE(Converts("Mass", "ounce (oz)", "gram (g)", 1, kPound / 16 * 1000));
    EXPECT_TRUE(Converts("Mass", "stone (st)", "pound (lb)", 1, 14));
    EXPECT_TRUE(Converts("Mass", "troy ounce (oz t)", "gram (g)", 1, 480 * kPound / 7000 * 1000));
    EXPECT_TRUE(Converts("Mass", "slug", "kilogram (kg)", 1, kPoundForce / kFoot));
    EXPECT_TRUE(Converts("Mass", "long ton", "tonne (t)", 1, 2240 * kPound / 1000));
    EXPECT_TRUE(Converts("Time", "Julian year (a)", "second (s)", 1, 31557600));
    EXPECT_TRUE(Converts("Time", "week (wk)", "hour (h)", 1, 168));
    EXPECT_TRUE(Converts("Time", "century", "day (d)", 1, 36524.25));
}

TEST(KnownConversions, SpeedAndAcceleration)
{
    EXPECT_TRUE(Converts("Speed", "kilometre per hour (km/h)", "mile per hour (mph)", 100, 100000 / kMile));
    EXPECT_TRUE(Converts("Speed", "knot (kn)", "kilometre per hour (km/h)", 1, 1.852));
    EXPECT_TRUE(Converts("Speed", "mile per hour (mph)", "foot per second (ft/s)", 60, 88));
    EXPECT_TRUE(Converts("Acceleration", "standard gravity (g₀)", "foot per second squared (ft/s²)", 1,
                         kGravity / kFoot));
}

TEST(KnownConversions, TemperatureOnEveryScale)
{
    EXPECT_TRUE(Converts("Temperature", "degree Fahrenheit (°F)", "degree Celsius (°C)", 100, 340.0 / 9));
    EXPECT_TRUE(Converts("Temperature", "degree Celsius (°C)", "kelvin (K)", 0, 273.15));
    EXPECT_TRUE(Converts("Temperature", "degree Fahrenheit (°F)", "degree Celsius (°C)", -40, -40));
    EXPECT_TRUE(Converts("Temperature", "kelvin (K)", "degree Fahrenheit (°F)", 0, -459.67));
    EXPECT_TRUE(Converts("Temperature", "kelvin (K)", "degree Rankine (°R)", 300, 540));
    EXPECT_TRUE(Converts("Temperature", "degree Rankine (°R)", "kelvin (K)", 500, 500 / 1.8));
    EXPECT_TRUE(Converts("Temperature", "degree Celsius (°C)", "degree Fahrenheit (°F)", 37, 98.6));
    EXPECT_TRUE(Converts("Temperature", "degree Celsius (°C)", "degree Réaumur (°Ré)", 20, 16));
    EXPECT_TRUE(Converts("Temperature", "degree Réaumur (°Ré)", "degree Rankine (°R)", 80, 671.67));
    EXPECT_TRUE(Converts("Temperature", "degree Celsius (°C)", "degree Rømer (°Rø)", 25, 25 * 21.0 / 40 + 7.5));
    EXPECT_TRUE(Converts("Temperature", "degree Celsius (°C)", "degree Newton (°N)", 25, 8.25));
    EXPECT_TRUE(Converts("Temperature", "degree Celsius (°C)", "degree Delisle (°De)", 25, 112.5));
    EXPECT_TRUE(Converts("Temperature", "degree Delisle (°De)", "kelvin (K)", 150, 273.15));
}

TEST(KnownConversions, PressureEnergyPowerForce)
{
    EXPECT_TRUE(Converts("Pressure", "standard atmosphere (atm)", "pascal (Pa)", 1, 101325));
    EXPECT_TRUE(Converts("Pressure", "pound-force per square inch (psi)", "pascal (Pa)", 1, 6894.757293168361));
    EXPECT_TRUE(Converts("Pressure", "standard atmosphere (atm)", "pound-force per square inch (psi)", 1,
                         101325 / (kPoundForce / (kInch * kInch))));
    EXPECT_TRUE(Converts("Pressure", "torr (Torr)", "standard atmosphere (atm)", 760, 1));
    EXPECT_TRUE(Converts("Pressure", "millimetre of mercury (mmHg)", "pascal (Pa)", 1, 13595.1 * kGravity / 1000));
    EXPECT_TRUE(Converts("Pressure", "bar", "hectopascal (hPa)", 1, 1000));
    EXPECT_TRUE(Converts("Energy", "kilowatt-hour (kWh)", "megajoule (MJ)", 1, 3.6));
    EXPECT_TRUE(Converts("Energy", "thermochemical calorie (cal_th)", "joule (J)", 1, 4.184));
    EXPECT_TRUE(Converts("Energy", "International Table kilocalorie (kcal_IT)", "joule (J)", 1,
                         1000 * kCalorieIt));
    EXPECT_TRUE(Converts("Energy", "therm (EC)", "megajoule (MJ)", 1, 105.506));
    EXPECT_TRUE(Converts("Energy", "British thermal unit (BTU)", "joule (J)", 1, 1055.05585262));
    EXPECT_TRUE(Converts("Energy", "electronvolt (eV)", "joule (J)", 1, 1.602176634e-19));
    EXPECT_TRUE(Converts("Energy", "therm (US)", "British thermal unit (BTU)", 1, 105480400 / kBtu));
    EXPECT_TRUE(Converts("Energy", "foot-pound-force (ft·lbf)", "joule (J)", 1, kFoot * kPoundForce));
    EXPECT_TRUE(Converts("Power", "horsepower (hp)", "watt (W)", 1, 745.69987158227022));
    EXPECT_TRUE(Converts("Power", "metric horsepower (PS)", "watt (W)", 1, 75 * kGravity));
    EXPECT_TRUE(Converts("Power", "ton of refrigeration (TR)", "BTU per hour (BTU/h)", 1, 12000));
    EXPECT_TRUE(Converts("Power", "thermochemical kilocalorie per hour (kcal_th/h)", "watt (W)",
                         3600, 4184));
    EXPECT_TRUE(Converts("Power", "IT kilocalorie per hour (kcal_IT/h)", "watt (W)", 3600,
                         1000 * kCalorieIt));
    EXPECT_TRUE(Converts("Force", "pound-force (lbf)", "newton (N)", 1, 4.4482216152605));
    EXPECT_TRUE(Converts("Force", "kilogram-force (kgf)", "newton (N)", 1, 9.80665));
    EXPECT_TRUE(Converts("Force", "poundal (pdl)", "newton (N)", 1, kPound * kFoot));
    EXPECT_TRUE(Converts("Torque", "pound-force foot (lbf·ft)", "newton metre (N·m)", 1, kPoundForce * kFoot));
}

TEST(KnownConversions, AngleFrequencyDensityFlow)
{
    EXPECT_TRUE(Converts("Angle", "radian (rad)", "degree (°)", kPi, 180));
    EXPECT_TRUE(Converts("Angle", "turn (tr)", "gradian (gon)", 1, 400));
    EXPECT_TRUE(Converts("Angle", "NATO mil", "turn (tr)", 6400, 1));
    EXPECT_TRUE(Converts("Angle", "degree (°)", "arcsecond (″)", 1, 3600));
    EXPECT_TRUE(Converts("Frequency", "revolution per minute (rpm)", "hertz (Hz)", 3000, 50));
    EXPECT_TRUE(Converts("Frequency", "hertz (Hz)", "radian per second (rad/s)", 1, 2 * kPi));
    EXPECT_TRUE(Converts("Density", "gram per cubic centimetre (g/cm³)", "pound per cubic foot (lb/ft³)", 1,
                         1000 * std::pow(kFoot, 3) / kPound));
    EXPECT_TRUE(Converts("Volumetric flow", "US gallon per minute (US gpm)", "litre per minute (L/min)", 1,
                         3.785411784));
    EXPECT_TRUE(Converts("Mass flow", "tonne per hour (t/h)", "kilogram per second (kg/s)", 36, 10));
}

// Distance-per-fuel units are inverted against the litres per 100 km base.
TEST(KnownConversions, FuelConsumptionBothWays)
{
    const double kmPerMile = kMile / 1000, litresPerUsGallon = kUsGallon * 1000;
    const double litresPerImperialGallon = kImperialGallon * 1000;
    EXPECT_TRUE(Converts("Fuel consumption", "litre per 100 kilometres (L/100 km)", "mile per US gallon (mpg US)",
                         10, 100.0 / 10 / kmPerMile * litresPerUsGallon));
    EXPECT_TRUE(Converts("Fuel consumption", "mile per US gallon (mpg US)", "litre per 100 kilometres (L/100 km)",
                         30, 100 / (30 * kmPerMile / litresPerUsGallon)));
    EXPECT_TRUE(Converts("Fuel consumption", "mile per imperial gallon (mpg imp)", "mile per US gallon (mpg US)",
                         40, 40 * litresPerUsGallon / litresPerImperialGallon));
    EXPECT_TRUE(Converts("Fuel consumption", "kilometre per litre (km/L)", "litre per 100 kilometres (L/100 km)",
                         20, 5));
    EXPECT_TRUE(Converts("Fuel consumption", "litre per 100 kilometres (L/100 km)", "kilometre per litre (km/L)",
                         4, 25));
    EXPECT_TRUE(Converts("Fuel consumption", "US gallon per 100 miles (US gal/100 mi)", "mile per US gallon (mpg US)",
                         4, 25));
}

TEST(KnownConversions, DataLightRadiation)
{
    EXPECT_TRUE(Converts("Data size", "gibibyte (GiB)", "byte (B)", 1, 1073741824));
    EXPECT_TRUE(Converts("Data size", "gigabyte (GB)", "mebibyte (MiB)", 1, 1e9 / 1048576));
    EXPECT_TRUE(Converts("Data size", "byte (B)", "bit", 1, 8));
    EXPECT_TRUE(Converts("Data size", "yobibyte (YiB)", "byte (B)", 1, std::ldexp(1.0, 80)));
    EXPECT_TRUE(Converts("Data rate", "megabit per second (Mbit/s)", "megabyte per second (MB/s)", 100, 12.5));
    EXPECT_TRUE(Converts("Illuminance", "foot-candle (fc)", "lux (lx)", 1, 1 / (kFoot * kFoot)));
    EXPECT_TRUE(Converts("Luminance", "foot-lambert (fL)", "candela per square metre (cd/m²)", 1,
                         1 / (kPi * kFoot * kFoot)));
    EXPECT_TRUE(Converts("Radioactivity", "curie (Ci)", "gigabecquerel (GBq)", 1, 37));
    EXPECT_TRUE(Converts("Absorbed dose", "rad", "gray (Gy)", 100, 1));
    EXPECT_TRUE(Converts("Equivalent dose", "rem", "millisievert (mSv)", 1, 10));
    EXPECT_TRUE(Converts("Radiation exposure", "roentgen (R)", "coulomb per kilogram (C/kg)", 1, 2.58e-4));
}

TEST(KnownConversions, ElectricityViscosityTypography)
{
    EXPECT_TRUE(Converts("Electric charge", "faraday (F)", "coulomb (C)", 1, 1.602176634e-19 * 6.02214076e23));
    EXPECT_TRUE(Converts("Electric charge", "ampere-hour (Ah)", "coulomb (C)", 1, 3600));
    EXPECT_TRUE(Converts("Magnetic flux density", "tesla (T)", "gauss (G)", 1, 10000));
    EXPECT_TRUE(Converts("Dynamic viscosity", "poise (P)", "centipoise (cP)", 1, 100));
    EXPECT_TRUE(Converts("Kinematic viscosity", "stokes (St)", "centistokes (cSt)", 1, 100));
    EXPECT_TRUE(Converts("Typography", "inch (in)", "point (pt)", 1, 72));
    EXPECT_TRUE(Converts("Typography", "pixel (px)", "point (pt)", 1, 0.75));
    EXPECT_TRUE(Converts("Typography", "cicero (Berthold cc)", "millimetre (mm)", 1, 12 / 2.66));
    EXPECT_TRUE(Converts("Typography", "cicero (DIN cc)", "millimetre (mm)", 1, 4.51278));
}

TEST(KnownConversions, ElectricAndMagneticQuantities)
{
    EXPECT_TRUE(
        Converts("Electric current", "ampere (A)", "statampere (statA)", 1, 10 * kLightSpeed));
    EXPECT_TRUE(Converts("Voltage", "statvolt (statV)", "volt (V)", 1, kLightSpeed / 1e6));
    EXPECT_TRUE(Converts("Electrical resistance", "statohm (statΩ)", "kilohm (kΩ)", 1,
                         kGaussianResistance / 1000));
    EXPECT_TRUE(Converts("Electrical conductance", "statmho (statS)", "siemens (S)", 1,
                         1 / kGaussianResistance));
    EXPECT_TRUE(Converts("Capacitance", "statfarad (statF)", "picofarad (pF)", 1,
                         1e12 / kGaussianResistance));
    EXPECT_TRUE(Converts("Electrical conductivity", "millisiemens per centimetre (mS/cm)",
                         "decisiemens per metre (dS/m)", 1, 1));
    EXPECT_TRUE(Converts("Electrical conductivity", "percent IACS (%IACS)", "megasiemens per metre",
                         100, 58));
    EXPECT_TRUE(Converts("Electric field", "kilovolt per millimetre (kV/mm)",
                         "volt per mil (V/mil)", 1, 25.4));
    EXPECT_TRUE(Converts("Magnetic field strength", "oersted (Oe)", "ampere per metre (A/m)",
                         4 * kPi, 1000));
    EXPECT_TRUE(Converts("Magnetic flux", "magnetic flux quantum (Φ₀)", "weber (Wb)", 1,
                         kPlanck / (2 * kElementaryCharge)));
    EXPECT_TRUE(Converts("Magnetic flux", "weber (Wb)", "maxwell (Mx)", 1, 1e8));
}

TEST(KnownConversions, ChemistryAndConcentrations)
{
    EXPECT_TRUE(
        Converts("Amount of substance", "pound-mole (lb-mol)", "mole (mol)", 1, kPound * 1000));
    EXPECT_TRUE(Converts("Amount of substance", "elementary entity", "mole (mol)", kAvogadro, 1));
    EXPECT_TRUE(Converts("Molar concentration", "pound-mole per cubic foot (lb-mol/ft³)",
                         "mole per litre (mol/L)", 1, kPound / std::pow(kFoot, 3)));
    EXPECT_TRUE(Converts("Mass concentration", "milligram per decilitre (mg/dL)",
                         "gram per litre (g/L)", 100, 1));
    EXPECT_TRUE(Converts("Mass concentration", "percent weight per volume (% w/v)",
                         "milligram per millilitre (mg/mL)", 0.9, 9));
    EXPECT_TRUE(Converts("Mass concentration", "grain per US gallon (gr/US gal)",
                         "milligram per litre (mg/L)", 1,
                         kPound / 7000 * 1e6 / (kUsGallon * 1000)));
    EXPECT_TRUE(Converts("Catalytic activity", "enzyme unit (U)", "nanokatal (nkat)", 60, 1000));
}

TEST(KnownConversions, HeatAndEnergyPerMassOrVolume)
{
    const double btuPerHourSquareFoot = kBtu / 3600 / (kFoot * kFoot);
    EXPECT_TRUE(Converts("Specific heat capacity", "BTU per pound °F (BTU/(lb·°F))",
                         "kilojoule per kilogram kelvin (kJ/(kg·K))", 1, kCalorieIt));
    EXPECT_TRUE(Converts("Thermal conductivity", "BTU per hour foot °F (BTU/(h·ft·°F))",
                         "watt per metre kelvin (W/(m·K))", 1, kBtu / 3600 / kFoot * 1.8));
    EXPECT_TRUE(Converts("Heat flux density", "BTU per hour square foot (BTU/(h·ft²))",
                         "watt per square metre (W/m²)", 1, btuPerHourSquareFoot));
    EXPECT_TRUE(Converts("Heat transfer coefficient", "US U-factor (BTU/(h·ft²·°F))",
                         "watt per square metre kelvin (W/(m²·K))", 1, btuPerHourSquareFoot * 1.8));
    EXPECT_TRUE(Converts("Thermal insulance", "US R-value (ft²·°F·h/BTU)",
                         "square metre kelvin per watt (m²·K/W)", 19,
                         19 / (btuPerHourSquareFoot * 1.8)));
    EXPECT_TRUE(Converts("Thermal insulance", "clo", "tog", 1, 1.55));
    EXPECT_TRUE(Converts("Specific energy", "BTU per pound (BTU/lb)",
                         "kilojoule per kilogram (kJ/kg)", 1, 2.326));
    EXPECT_TRUE(Converts("Specific energy", "kilocalorie per 100 grams (kcal/100 g)",
                         "kilojoule per 100 grams (kJ/100 g)", 250, 1046));
    EXPECT_TRUE(Converts("Energy density", "BTU per cubic foot (BTU/ft³)",
                         "megajoule per cubic metre (MJ/m³)", 1000,
                         kBtu / std::pow(kFoot, 3) / 1000));
    EXPECT_TRUE(Converts("Energy density", "kilowatt-hour per litre (kWh/L)",
                         "megajoule per litre (MJ/L)", 1, 3.6));
}

// Yarn counts and speeds are inverted against their categories' bases.
TEST(KnownConversions, MaterialsPaceCountsAndRatios)
{
    EXPECT_TRUE(Converts("Linear mass density", "denier (den)", "tex", 9, 1));
    EXPECT_TRUE(Converts("Linear mass density", "English cotton count (Ne)", "tex", 30,
                         kPound * 1e6 / (840 * kYard) / 30));
    EXPECT_TRUE(Converts("Linear mass density", "metric count (Nm)", "English cotton count (Ne)",
                         50, 50 * kPound * 1000 / (840 * kYard)));
    EXPECT_TRUE(Converts("Area density", "bond paper pound (lb bond)",
                         "gram per square metre (g/m²)", 20,
                         20 * kPound * 1000 / (500 * 17 * 22 * kInch * kInch)));
    EXPECT_TRUE(Converts("Area density", "ounce per square yard (oz/yd²)",
                         "gram per square metre (g/m²)", 1, kPound / 16 * 1000 / (kYard * kYard)));
    EXPECT_TRUE(Converts("Surface tension", "gram-force per centimetre (gf/cm)",
                         "newton per metre (N/m)", 1, kGravity / 10));
    EXPECT_TRUE(Converts("Pace", "minute per kilometre (min/km)", "minute per mile (min/mi)", 5,
                         5 * kMile / 1000));
    EXPECT_TRUE(
        Converts("Pace", "kilometre per hour (km/h)", "minute per kilometre (min/km)", 12, 5));
    EXPECT_TRUE(Converts("Pace", "minute per mile (min/mi)", "mile per hour (mph)", 8, 7.5));
    EXPECT_TRUE(Converts("Count", "gross (gro)", "dozen (doz)", 1, 12));
    EXPECT_TRUE(Converts("Count", "crore", "million", 1, 10));
    EXPECT_TRUE(Converts("Ratio", "basis point (bp)", "percent (%)", 25, 0.25));
    EXPECT_TRUE(Converts("Ratio", "percent (%)", "part per million (ppm)", 1, 10000));
}

TEST(KnownConversions, CurrenciesGoThroughTheEuro)
{
    EXPECT_TRUE(Converts("Currency (2026-07-06)", "European Union euro  (EUR)", "United States dollar  (USD)",
                         100, 114.15));
    EXPECT_TRUE(Converts("Currency (2026-07-06)", "Pound Sterling  (GBP)", "European Union euro  (EUR)", 1,
                         1 / 0.85538));
    EXPECT_TRUE(Converts("Currency (2026-07-06)", "United States dollar  (USD)", "Japanese yen  (JPY)", 1,
                         185.31 / 1.1415));
}
