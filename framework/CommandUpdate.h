#pragma once

#include <QString>

#include <optional>

// What an update handler says about a command's menu item, button or pane:
// enabled, checked, its text, and whether it is shown. Anything the handler leaves
// alone stays as it was.
class CommandUpdate
{
public:
    void enable(bool on = true) { m_enabled = on; }
    void setCheck(bool on) { m_checked = on; }
    // The mark is drawn as a radio mark where the command belongs to one of the
    // vocabulary's radio groups.
    void setRadio(bool on) { m_checked = on; }
    void setText(const QString &text) { m_text = text; }
    void setVisible(bool visible) { m_visible = visible; }

    bool isEnabled() const { return m_enabled; }
    std::optional<bool> checked() const { return m_checked; }
    const std::optional<QString> &text() const { return m_text; }
    std::optional<bool> visible() const { return m_visible; }

private:
    bool m_enabled = true;
    std::optional<bool> m_checked;
    std::optional<QString> m_text;
    std::optional<bool> m_visible;
};
