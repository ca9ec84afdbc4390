// The parser's one compiled copy: the declarations of toml++ with their definitions.
#define TOML_IMPLEMENTATION 1
#include <toml++/toml.h>
