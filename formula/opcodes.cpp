#include "formula/opcodes.h"

namespace zt {

namespace {

struct NamedOp {
    std::uint8_t Code;
    std::string_view Name;
    std::uint8_t Class;
};

constexpr NamedOp kOperators[] = {
    {opNeg, "-", acPrefix},   {opAdd, "+", acInfix},     {opSub, "-", acInfix},
    {opMul, "*", acInfix},    {opDiv, "/", acInfix},     {opPower, "^", acInfix},
    {opEq, "=", acInfix},     {opNe, "<>", acInfix},     {opLe, "<=", acInfix},
    {opGe, ">=", acInfix},    {opLt, "<", acInfix},      {opGt, ">", acInfix},
    {opAnd, "#AND#", acInfix}, {opOr, "#OR#", acInfix},  {opNot, "NOT", acArgs1},
    {opPlus, "+", acPrefix},  {opConcat, "&", acInfix},  {opPercent, "%", acPostfix},
    {opFactorial, "!", acPostfix},
};

// The @ functions: opcode, name, class (acArgs0..acArgs4 or acList).
constexpr NamedOp kFunctions[] = {
    {31, "NA", 10}, {32, "ERR", 10}, {33, "ABS", 11}, {34, "INT", 11}, {35, "SQRT", 11},
    {36, "LOG", 11}, {37, "LN", 11}, {38, "PI", 10}, {39, "SIN", 11}, {40, "COS", 11},
    {41, "TAN", 11}, {43, "ATAN", 11}, {44, "ASIN", 11}, {45, "ACOS", 11}, {46, "EXP", 11},
    {47, "MOD", 12}, {48, "CASE", 15}, {49, "ISNA", 11}, {50, "ISERR", 11}, {51, "FALSE", 10},
    {52, "TRUE", 10}, {53, "RAND", 10}, {54, "DATE", 13}, {55, "TODAY", 10}, {56, "PMT", 13},
    {57, "PV", 13}, {58, "FV", 13}, {59, "IF", 13}, {60, "DAY", 11}, {61, "MONTH", 11},
    {62, "YEAR", 11}, {63, "ROUND", 12}, {64, "TIME", 13}, {65, "HOUR", 11}, {66, "MINUTE", 11},
    {67, "SECOND", 11}, {68, "ISNUM", 11}, {69, "ISSTR", 11}, {70, "LENGTH", 11}, {71, "VAL", 11},
    {72, "STR", 12}, {73, "MID", 13}, {74, "CHR", 11}, {75, "ORD", 11}, {76, "FIND", 13},
    {77, "DATEVAL", 11}, {78, "TIMEVAL", 11}, {79, "CELLPT", 11}, {80, "SUM", 15}, {81, "AVG", 15},
    {82, "COUNT", 15}, {83, "MIN", 15}, {84, "MAX", 15}, {85, "VTABLE", 13}, {86, "NPV", 12},
    {87, "VAR", 15}, {88, "STD", 15}, {89, "IRR", 12}, {90, "HTABLE", 13}, {91, "QSUM", 13},
    {92, "QAVG", 13}, {93, "QCOUNT", 13}, {94, "QMIN", 13}, {95, "QMAX", 13}, {96, "QVAR", 13},
    {97, "QSTD", 13}, {98, "INDEX", 13}, {99, "COLS", 11}, {100, "ROWS", 11}, {101, "REPEAT", 12},
    {102, "UPPER", 11}, {103, "LOWER", 11}, {104, "LEFT", 12}, {105, "RIGHT", 12},
    {106, "REPLACE", 11}, {107, "PROPER", 11}, {108, "CELL", 12}, {109, "TRIM", 11},
    {110, "CLEAN", 11}, {111, "S", 11}, {112, "N", 11}, {113, "EXACT", 12}, {115, "@", 11},
    {116, "RATE", 13}, {117, "TERM", 13}, {118, "CTERM", 13}, {119, "SLN", 13}, {120, "SYD", 14},
    {121, "DDB", 14}, {122, "FACT", 11}, {123, "LINK", 11}, {124, "HTERP", 13}, {125, "VTERP", 13},
    {126, "CSC", 11}, {127, "CTN", 11}, {128, "SEC", 11}, {129, "COSH", 11}, {130, "SINH", 11},
    {131, "TANH", 11}, {132, "ASINH", 11}, {133, "ACOSH", 11}, {134, "ATANH", 11},
    {135, "COMB", 12}, {136, "PERM", 12}, {137, "GAMMALN", 11}, {138, "X", 10},
    {139, "MEMAVAIL", 11}, {140, "PSUM", 12}, {141, "DOSVER", 10}, {142, "VERSION", 10},
    {143, "AUTO", 10}, {144, "PROTECT", 10}, {145, "QVIEW", 11}, {146, "HEX", 11},
    {147, "DEC", 11}, {148, "PATH", 10}, {149, "VARU", 15}, {150, "STDU", 15},
    {151, "FILEINFO", 12}, {152, "IORESULT", 10}, {153, "BAL", 14}, {154, "ACI", 14},
    {155, "PMTP", 14}, {156, "FILENAME", 10}, {157, "ERF", 11}, {158, "BESSELJ", 12},
    {159, "BESSELY", 12}, {160, "BESSELI", 12}, {161, "BESSELK", 12}, {162, "MEDIAN", 11},
    {163, "DET", 11}, {164, "RANK", 11}, {165, "TRACE", 11}, {166, "BETA", 12}, {167, "BETAI", 13},
    {168, "GAMMAP", 12}, {169, "GAMMAQ", 12}, {170, "AVEDEV", 11}, {171, "SKEW", 11},
    {172, "KURT", 11}, {173, "COV", 11}, {174, "LOGB", 12}, {175, "CEIL", 12}, {176, "FLOOR", 12},
    {177, "GAUSS", 13}, {178, "POISSON", 13}, {179, "A", 11}, {180, "DMS", 11},
    {181, "COUNTA", 11}, {182, "INTG", 13}, {183, "XYTERP", 13}, {184, "RECUR", 13},
    {185, "RGB", 13}, {186, "OSVER", 10},
};

OpcodeTables BuildTables()
{
    OpcodeTables t;
    t.Class.fill(acArgs1);
    t.Name.fill({});
    for (std::uint8_t op = opNumber; op <= opExternalRef; ++op)
        t.Class[op] = op;
    for (const NamedOp& n : kOperators) {
        t.Class[n.Code] = n.Class;
        t.Name[n.Code] = n.Name;
    }
    for (const NamedOp& n : kFunctions) {
        t.Class[n.Code] = n.Class;
        t.Name[n.Code] = n.Name;
    }
    t.Class[opUserFunction] = acUser;
    return t;
}

}  // namespace

const OpcodeTables& Opcodes()
{
    static const OpcodeTables tables = BuildTables();
    return tables;
}

}  // namespace zt
