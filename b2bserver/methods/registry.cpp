// One registration function per method group; a new group adds its line here.
#include "dispatch.h"

namespace methods {

void registerSessionMethods(MethodTable &table);
void registerCartMethods(MethodTable &table);
void registerOrderMethods(MethodTable &table);
void registerContentMethods(MethodTable &table);
void registerCatalogueMethods(MethodTable &table);
void registerCartLineMethods(MethodTable &table);
void registerOrderingMethods(MethodTable &table);
void registerHistoryMethods(MethodTable &table);
void registerDocumentMethods(MethodTable &table);
void registerDeskMethods(MethodTable &table);
void registerPromotionMethods(MethodTable &table);
void registerMailMethods(MethodTable &table);
void registerReportMethods(MethodTable &table);

void registerAllMethods(MethodTable &table)
{
    registerSessionMethods(table);
    registerCartMethods(table);
    registerOrderMethods(table);
    registerContentMethods(table);
    registerCatalogueMethods(table);
    registerCartLineMethods(table);
    registerOrderingMethods(table);
    registerHistoryMethods(table);
    registerDocumentMethods(table);
    registerDeskMethods(table);
    registerPromotionMethods(table);
    registerMailMethods(table);
    registerReportMethods(table);
}

} // namespace methods
