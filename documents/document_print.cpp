// The header and footer every document prints.

#include <cstdio>

#include "documents/base_work_document.h"
#include "documents/print_text.h"
#include "printing/reg_data_print.h"

using namespace print_text;

std::string BaseWorkDocument::commonHeader() const {
    return registrationTextLines(registrationRecord()) +
           printing::renderBlocks({block(kSmallFont, kCentredBold, {title()}),
                                   block(kSmallFont, kLeft, {cashierLine(cashier().name)})},
                                  false);
}

std::string BaseWorkDocument::printHeader() const { return commonHeader(); }

std::string BaseWorkDocument::printFooter(bool cut) const {
    char sign[16];
    std::snprintf(sign, sizeof sign, "%010u", static_cast<unsigned>(fiscalSign()));
    const ModelData& model = modelRecord();
    return registrationNumberLines(registrationRecord(), false) +
           printing::renderBlocks({block(kSmallFont, kLeft,
                                         {cp("ДАТА\t") + dateTimeText(dateTime()),
                                          cp("ФД ") + std::to_string(documentNumber_) + "\t" +
                                              model.modelName() + " " + model.serialText()}),
                                   block(kDoubleSizeFont, kCentredBoldDouble, {cp("ФП ") + sign})},
                                  cut);
}

printing::PrintBlock BaseWorkDocument::shiftBlock() const {
    return block(kSmallFont, kLeft, {cp("\nСМЕНА\t") + std::to_string(shiftNumber())});
}
