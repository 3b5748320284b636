// The financial @ functions: annuities, compound growth, depreciation, net
// present value and internal rate of return, loan balances. Rates are per
// period, as fractions; a division by zero gives ERR.
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/scoped_sheet.h"
#include "core/cell.h"
#include "formula/functions.h"
#include "formula/numeric_handler.h"
#include "formula/range_argument.h"

namespace zt {

namespace {

// @IRR stops once the net present value is this close to 0, and gives up
// after this many steps.
constexpr double kIrrTolerance = 0.00001;
constexpr int kIrrMaxSteps = 25;

// (1 + rate)^term, the growth factor of every annuity formula.
double Growth(double rate, double term) { return std::pow(1 + rate, term); }

NumberResult Pmt(double principal, double rate, double term)
{
    double g = Growth(rate, term);
    return Quotient(principal * rate * g, g - 1);
}

NumberResult Pv(double payment, double rate, double term)
{
    double g = Growth(rate, term);
    return Quotient(payment * (g - 1), rate * g);
}

NumberResult Fv(double payment, double rate, double term)
{
    return Quotient(payment * (Growth(rate, term) - 1), rate);
}

NumberResult Rate(double future, double present, double term)
{
    std::optional<double> ratio = Quotient(future, present);
    std::optional<double> root = Quotient(1, term);
    if (!ratio || !root)
        return {};
    return std::pow(*ratio, *root) - 1;
}

// ln a / ln b, for the two functions that solve for a number of periods.
NumberResult LogQuotient(double a, double b)
{
    if (a <= 0 || b <= 0)
        return {};
    return Quotient(std::log(a), std::log(b));
}

NumberResult Term(double payment, double rate, double future)
{
    std::optional<double> part = Quotient(future * rate, payment);
    if (!part)
        return {};
    return LogQuotient(*part + 1, 1 + rate);
}

NumberResult Cterm(double rate, double future, double present)
{
    std::optional<double> ratio = Quotient(future, present);
    if (!ratio)
        return {};
    return LogQuotient(*ratio, 1 + rate);
}

NumberResult Sln(double cost, double salvage, double life) { return Quotient(cost - salvage, life); }

NumberResult Syd(double cost, double salvage, double life, double period)
{
    return Quotient((cost - salvage) * (life - period + 1) * 2, life * (life + 1));
}

// Double-declining balance: each period writes off 2/life of the book
// value, but never below the salvage value. A period past the life, or one
// that rounds to less than 1, has no depreciation to give.
NumberResult Ddb(double cost, double salvage, double life, double period)
{
    if (period > life)
        return {};
    int periods = ToInt16(period);
    if (periods < 1)
        return {};
    double book = cost, d = 0;
    for (int p = 1; p <= periods; ++p) {
        d = book * 2 / life;
        if (book - d < salvage)
            d = book - salvage;
        book -= d;
    }
    return d;
}

// The loan functions need a positive rate and a term.
bool LoanArgumentsValid(double rate, double term) { return rate > 0 && term != 0; }

// The balance of a loan after `period` payments: the present value of the
// payments still to come.
NumberResult Balance(double principal, double rate, double term, double period)
{
    std::optional<double> payment = Pmt(principal, rate, term);
    if (!payment)
        return {};
    return *payment * (1 - Growth(rate, period - term)) / rate;
}

NumberResult Bal(double principal, double rate, double term, double period)
{
    if (!LoanArgumentsValid(rate, term))
        return {};
    return Balance(principal, rate, term, period);
}

// Interest paid in the first `period` payments: what was paid, less the
// principal repaid.
NumberResult Aci(double principal, double rate, double term, double period)
{
    if (!LoanArgumentsValid(rate, term))
        return {};
    std::optional<double> payment = Pmt(principal, rate, term);
    std::optional<double> balance = Balance(principal, rate, term, period);
    if (!payment || !balance)
        return {};
    return period * *payment + *balance - principal;
}

// The principal part of payment number `period`: the payment less the
// interest on the balance before it.
NumberResult Pmtp(double principal, double rate, double term, double period)
{
    if (!LoanArgumentsValid(rate, term))
        return {};
    std::optional<double> payment = Pmt(principal, rate, term);
    std::optional<double> balance = Balance(principal, rate, term, period - 1);
    if (!payment || !balance)
        return {};
    return *payment - rate * *balance;
}

// Σ v_k / (1 + rate)^k over the existing cells of the range, row by row;
// every existing cell takes a period k, only numeric cells add a value, and
// a cell holding ERR makes the whole ERR.
NumberResult PresentValue(Engine& e, const TRange& range, double rate)
{
    double sum = 0;
    int k = 0;
    bool failed = false;
    ForEachCellInRange(e, range, [&](PCell c) {
        ++k;
        if ((c->Kind & 0x0F) > ckBlank) {
            failed = true;
        } else if (IsNumericKind(c->Kind)) {
            double discount = std::pow(1 + rate, k);
            if (discount == 0)
                failed = true;
            else
                sum += NumericValue(*c) / discount;
        }
    });
    if (failed || !std::isfinite(sum))
        return {};
    return sum;
}

// The range argument of @NPV and @IRR (the top slot), read through the
// reference that pushed it, perhaps into another worksheet file; its own
// value and ERR mark do not count.
std::optional<RangeSource> RangeArgument(EvalMachine& m)
{
    RangeSource source;
    if (!AnyRangeArgument(m, m.Arg(0), source))
        return {};
    return source;
}

void Npv(EvalMachine& m)
{
    const EvalSlot& rate = m.Arg(1);
    std::optional<RangeSource> source = RangeArgument(m);
    NumberResult v;
    if (source && !rate.Error) {
        ScopedSheet sheet(m.E, source->Slot);
        v = PresentValue(m.E, source->Range, rate.Value);
    }
    ResultOrError(m, 2, v, false);
}

// The rate at which the present value of the range is 0, by secant steps
// from the guess, each across a tenth of the current rate.
NumberResult InternalRate(Engine& e, const TRange& range, double guess)
{
    if (guess == 0)
        return {};
    double x = guess;
    for (int step = 1; step <= kIrrMaxSteps; ++step) {
        std::optional<double> a = PresentValue(e, range, x);
        double s = 0.1 * x;
        std::optional<double> b = PresentValue(e, range, x + s);
        if (!a || !b || *b == *a)
            return {};
        x -= *a * s / (*b - *a);
        if (std::fabs(*a) < kIrrTolerance)
            return x;
    }
    return {};
}

void Irr(EvalMachine& m)
{
    const EvalSlot& guess = m.Arg(1);
    std::optional<RangeSource> source = RangeArgument(m);
    NumberResult v;
    if (source && !guess.Error) {
        ScopedSheet sheet(m.E, source->Slot);
        v = InternalRate(m.E, source->Range, guess.Value);
    }
    ResultOrError(m, 2, v, false);
}

}  // namespace

void RegisterFinanceFunctions(HandlerTable& t)
{
    constexpr std::pair<std::uint8_t, OpHandler> kHandlers[] = {
        {56, NumericHandler<Pmt>},     {57, NumericHandler<Pv>},     {58, NumericHandler<Fv>},
        {86, Npv},                     {89, Irr},                    {116, NumericHandler<Rate>},
        {117, NumericHandler<Term>},   {118, NumericHandler<Cterm>}, {119, NumericHandler<Sln>},
        {120, NumericHandler<Syd>},    {121, NumericHandler<Ddb>},   {153, NumericHandler<Bal>},
        {154, NumericHandler<Aci>},    {155, NumericHandler<Pmtp>},
    };
    for (auto [op, handler] : kHandlers)
        t[op] = handler;
}

}  // namespace zt
