#pragma once
// Physical constants of the model. Several were always held in single precision; they keep
// their single-precision values (widened to double), because every result depends on them.

namespace korvex::run {

inline constexpr double PI = 3.141592654;       // ten digits, not the full double value
inline constexpr double GRAD = 180.0 / PI;       // radians to degrees (57.29577950560105)
inline constexpr double RM = double(0.08315f);   // universal gas constant, bar*litre/(mol*K)
inline constexpr double ROW = double(0.988f);    // liquid (and piston) density, g/cm**3
inline constexpr double RHO_FLYWHEEL = double(7.8f);   // flywheel material, g/cm**3
inline constexpr double C_WIRE = double(0.477204f);    // wire-mesh specific heat, J/(g*K)

// Molar masses used to restate a gas amount in grams in the listings, g/mol.
inline constexpr double MOLAR_HYDROGEN = 2.016;
inline constexpr double MOLAR_HELIUM = 4.003;
inline constexpr double MOLAR_AIR = 29.0;

// The volume scan of one revolution: 2880 steps of 0.125 degree, both ends included.
inline constexpr int SCAN_STEPS = 2880;

// Liquid data of the heat exchange with injected liquid.
inline constexpr double CW_LIQUID = 4186.0;        // J/(kg*K), heat one litre takes up
inline constexpr double RHO_LIQUID_HOT = 917.0;    // kg/m**3
inline constexpr double RHO_LIQUID_COLD = 988.0;   // kg/m**3
inline constexpr double CP_LIQUID_HOT = double(4.3f);    // kJ/(kg*K)
inline constexpr double CP_LIQUID_COLD = double(4.18f);  // kJ/(kg*K)
inline constexpr double PR = double(0.7f);         // Prandtl number of the gas
inline constexpr double KAPPA_LIQUID_SIDE = 1.4;   // isentropic exponent of the injection model
inline constexpr double KAPPA_LIQUID_SIDE_1 = 1.4 - 1.0;

}  // namespace korvex::run
