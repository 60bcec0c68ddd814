#include "services/formresult.h"

#include "services/formtemplatepicker.h"

namespace services {

void showFormResult(const FormResult& result, platform::Prompts& prompts, FormTemplatePicker& picker)
{
    if (result.message)
        result.message->show(prompts);
    if (result.status == FormResult::Status::NoTemplate)
        picker.pickFormTemplate(result.kind);
}

} // namespace services
