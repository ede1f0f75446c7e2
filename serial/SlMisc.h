#pragma once

#include <string>

namespace canprog::serial {

// Base of the serial layer's components: the layer's version, read-only.
class TSlioBaseComponent {
  public:
    virtual ~TSlioBaseComponent() = default;
    static constexpr const char* kVersion = "v4.07";
    std::string Version() const { return kVersion; }
    void SetVersion(const std::string&) {}  // writing it has no effect
    int Tag = 0;                            // free for the user
};

}  // namespace canprog::serial
