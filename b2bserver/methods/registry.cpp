// One registration function per method group; a new group adds its line here.
#include "dispatch.h"

namespace methods {

void registerSessionMethods(MethodTable &table);
void registerCartMethods(MethodTable &table);
void registerOrderMethods(MethodTable &table);
void registerContentMethods(MethodTable &table);

void registerAllMethods(MethodTable &table)
{
    registerSessionMethods(table);
    registerCartMethods(table);
    registerOrderMethods(table);
    registerContentMethods(table);
}

} // namespace methods
