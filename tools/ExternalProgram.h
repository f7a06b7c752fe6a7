#pragma once

#include <QString>

// One outside program of the tool chain: its name (also its section in the
// settings file), the executable, and the option template in which "%s" stands
// for the document's base name. An entry with all three empty is no program.
class ExternalProgram
{
public:
    ExternalProgram() = default;
    ExternalProgram(QString name, QString executable, QString optionTemplate);
    virtual ~ExternalProgram() = default;
    ExternalProgram(const ExternalProgram &) = default;
    ExternalProgram &operator=(const ExternalProgram &) = default;

    const QString &name() const { return m_name; }
    const QString &executable() const { return m_executable; }
    const QString &optionTemplate() const { return m_optionTemplate; }
    void setExecutable(const QString &executable) { m_executable = executable; }
    void setOptionTemplate(const QString &optionTemplate) { m_optionTemplate = optionTemplate; }

    bool isEmpty() const { return m_name.isEmpty() && m_executable.isEmpty() && m_optionTemplate.isEmpty(); }
    bool operator==(const ExternalProgram &other) const = default;

private:
    QString m_name;
    QString m_executable;
    QString m_optionTemplate;
};
