#pragma once
// JV-Link's own COM component behind the JVLink interface. The component is
// reached by late binding (IDispatch by name, no type library), so any
// component with JV-Link's method and property names can stand behind it,
// such as the test server of tools/test_jvlink_com.
#include <memory>
#include <string>

#include "jvlink/jvlink.h"

namespace veltrix {

// The ProgID under which JV-Link registers itself.
inline constexpr const char* kJVLinkProgId = "JVDTLab.JVLink";

// Result of an operation the binding could not carry out: the component lacks
// the method, it raised an exception, or it answered with a value of the wrong
// type. No code of the component itself is this low.
inline constexpr int kJVComFailed = -900;

class ComJVLink : public JVLink {
public:
    // Creates the component on the calling thread, which joins a single-threaded
    // apartment and must be the thread that pumps the program's window messages
    // and makes every call. Null, with a one-line reason, when the component is
    // not registered or cannot be created, and on systems without COM.
    static std::unique_ptr<ComJVLink> Create(const std::string& progId, std::string& reason);

    // true: records are fetched with JVGets as the component's bytes; false:
    // the component has no JVGets and JVRead's text is turned back into CP932.
    virtual bool readsBytes() const = 0;
};

// true when a class is registered under the ProgID (always false without COM).
bool ComComponentRegistered(const std::string& progId);

}  // namespace veltrix
