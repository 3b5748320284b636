#pragma once
// Formula text passed as an argument (@RECUR, @INTG, the database
// criteria): compiled once, then evaluated many times with @X set.
#include <string>

#include "formula/eval_machine.h"

namespace zt {

// Compiles the text of argument i (counted from the top) into code. False
// when it is not a formula; the caller's error state is left as it was.
bool CompileFormulaArgument(EvalMachine& m, int i, std::string& code);

// Evaluates compiled code with @X reading x. False when the evaluation
// gives ERR; a string result counts as 0, as in arithmetic.
bool EvaluateAtX(Engine& e, const std::string& code, double x, double& value);

// Keeps the value of @X of the enclosing evaluation and puts it back.
class XValueScope {
public:
    explicit XValueScope(Engine& e) : e_(e), saved_(e.Runtime.XValue) {}
    ~XValueScope() { e_.Runtime.XValue = saved_; }
    XValueScope(const XValueScope&) = delete;
    XValueScope& operator=(const XValueScope&) = delete;

private:
    Engine& e_;
    double saved_;
};

}  // namespace zt
