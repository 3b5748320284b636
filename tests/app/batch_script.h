#pragma once
#include <sstream>
#include <string>

#include "app/batch.h"

namespace zt {

// What a batch script printed and how it ended.
struct BatchRun {
    std::string out;
    std::string err;
    int status;
};

inline BatchRun RunScript(const std::string& script)
{
    std::ostringstream out, err;
    std::istringstream in(script);
    BatchSession session(out, err);
    int status = session.Run(in);
    return {out.str(), err.str(), status};
}

}  // namespace zt
