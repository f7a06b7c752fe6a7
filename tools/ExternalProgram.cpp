#include "ExternalProgram.h"

ExternalProgram::ExternalProgram(QString name, QString executable, QString optionTemplate)
    : m_name(std::move(name))
    , m_executable(std::move(executable))
    , m_optionTemplate(std::move(optionTemplate))
{
}
