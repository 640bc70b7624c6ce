// Whether a unit's physical-synthesis options are customized, asked of many
// units at once: a save asks for every unit, and reads the options variable
// behind the default of UseSynplifySDC once rather than once per unit.
#pragma once

class ImodelPhySynthesisOptions;

// What a new record takes for UseSynplifySDC: the options variable
// IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT as it reads now (on when it reads 1).
bool ImodelDefaultUseSynplifySDC();

// Whether the options differ from a record made new while the options
// variable gave `defaultUseSynplifySDC` (ImodelPhySynthesisOptions::IsCustomized
// with the variable read beforehand).
bool ImodelIsPhySynthCustomized(const ImodelPhySynthesisOptions& options, bool defaultUseSynplifySDC);
