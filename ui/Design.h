#pragma once
// A form's design as data: the readable text that is stored in the executable under the
// form's class name, and the tree it is read into.

#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct DesignValue {
    enum class Kind { Integer, String, Identifier, Set, Binary };
    Kind kind = Kind::Integer;
    long long integer = 0;
    std::string text;             // a String (UTF-8) or an Identifier
    std::vector<std::string> set; // the members of a Set
    std::vector<unsigned char> binary;
};

struct DesignProperty {
    std::string name; // dotted for nested properties: "Font.Height"
    DesignValue value;
    int line = 0;
};

struct DesignObject {
    std::string name;
    std::string className;
    std::vector<DesignProperty> properties;
    std::vector<DesignObject> children;
    int line = 0;
};

// Raises Exception with the line and what was expected when the text is malformed.
DesignObject ParseDesign(std::string_view text);

} // namespace ui
