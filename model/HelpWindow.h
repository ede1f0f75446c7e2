#pragma once

#include <functional>
#include <string>
#include <vector>

namespace canprog {

// The help window TForm1 as the operations see it: caption, memo lines and outer size.
// Created hidden; each showing replaces its text.
class HelpWindow {
  public:
    static constexpr int kFirstLeft = 345;
    static constexpr int kFirstTop = 204;

    const std::string& caption() const { return caption_; }
    const std::vector<std::string>& lines() const { return lines_; }
    int outerWidth() const { return outerWidth_; }
    int outerHeight() const { return outerHeight_; }
    bool visible() const { return visible_; }
    int timesShown() const { return timesShown_; }

    void clear() { lines_.clear(); }
    void addLine(std::string line) { lines_.push_back(std::move(line)); }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    void setOuterSize(int width, int height) {
        outerWidth_ = width;
        outerHeight_ = height;
    }
    // Shows the window non-modal; a shown window is shown again with its new text.
    void show();
    // The user closed it: it is only hidden.
    void hide() { visible_ = false; }

    // Called after every show, so that the front end can draw the window.
    void onShow(std::function<void()> listener) { showListener_ = std::move(listener); }

  private:
    std::string caption_ = "Pomoc";
    std::vector<std::string> lines_;
    int outerWidth_ = 394;
    int outerHeight_ = 200;
    bool visible_ = false;
    int timesShown_ = 0;
    std::function<void()> showListener_;
};

}  // namespace canprog
