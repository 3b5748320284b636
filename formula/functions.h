#pragma once
#include "formula/eval_machine.h"

namespace zt {

// The @ function handlers, by family; each fills in its opcodes.
void RegisterMathFunctions(HandlerTable& t);
void RegisterHigherMathFunctions(HandlerTable& t);
void RegisterFinanceFunctions(HandlerTable& t);
void RegisterDateFunctions(HandlerTable& t);
void RegisterAggregateFunctions(HandlerTable& t);
void RegisterRangeStatistics(HandlerTable& t);
void RegisterNumericMethods(HandlerTable& t);
void RegisterDatabaseFunctions(HandlerTable& t);
void RegisterLogicFunctions(HandlerTable& t);
void RegisterTextFunctions(HandlerTable& t);
void RegisterLookupFunctions(HandlerTable& t);
void RegisterCellFunctions(HandlerTable& t);
void RegisterSystemFunctions(HandlerTable& t);
void RegisterUserFunctions(HandlerTable& t);

}  // namespace zt
