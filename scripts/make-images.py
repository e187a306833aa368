#!/usr/bin/env python3
"""Draws the interface images of the tool panel and dialogs as SVG into resources/images.

Run by hand after changing a look; the SVG files are committed. Nine-part panel frames are one
drawing per family cut into nine pieces by their view boxes, so the pieces always join up."""
import math
import os
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "images")
ACCENT = "#ffba1f"

def svg(w, h, body, view=None, stretch=False):
    vb = view or (0, 0, w, h)
    par = ' preserveAspectRatio="none"' if stretch else ""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="{vb[0]} {vb[1]} {vb[2]} {vb[3]}"{par}>{body}</svg>\n')

def write(name, text):
    with open(os.path.join(OUT, name + ".svg"), "w") as f:
        f.write(text)

# ---- nine-part frames -------------------------------------------------------------------------
def frame(family, r, fill, border, top=None, shadow=None, suffix=""):
    s = 3 * r
    body = ""
    if shadow:
        body += f'<rect x="0.5" y="1" width="{s-1}" height="{s-1}" rx="{r-1}" fill="{shadow}"/>'
    body += f'<rect x="0.5" y="0.5" width="{s-1}" height="{s-1.5}" rx="{r-1}" fill="{fill}" stroke="{border}"/>'
    if top:
        body += (f'<path d="M{r} 1.5 H{2*r}" stroke="{top}" stroke-width="1"/>'
                 f'<path d="M1.5 {r} A{r-1.5} {r-1.5} 0 0 1 {r} 1.5" fill="none" stroke="{top}"/>'
                 f'<path d="M{2*r} 1.5 A{r-1.5} {r-1.5} 0 0 1 {s-1.5} {r}" fill="none" stroke="{top}"/>')
    cols = {"left": 0, "center": r, "right": 2 * r}
    rows = {"top": 0, "center": r, "bottom": 2 * r}
    for rn, y in rows.items():
        for cn, x in cols.items():
            if suffix and rn != "top":
                continue
            write(f"{family}{cn}_{rn}{suffix}", svg(r, r, body, (x, y, r, r), stretch=True))

# ---- small drawings ---------------------------------------------------------------------------
def circle_button(name, inner, size=22, ring="#5a5a60", fill="#2f2f33"):
    write(name, svg(size, size, f'<circle cx="{size/2}" cy="{size/2}" r="{size/2-1}" fill="{fill}" stroke="{ring}"/>' + inner))

def plus_minus():
    for on, col, ring in ((False, "#d0d0d4", "#5a5a60"), (True, "#1d1d1f", ACCENT)):
        fill = ACCENT if on else "#2f2f33"
        suffix = "_on" if on else ""
        write("minus" + suffix, svg(16, 16, f'<circle cx="8" cy="8" r="7.5" fill="{fill}" stroke="{ring}"/>'
                                    f'<path d="M4.5 8 H11.5" stroke="{col}" stroke-width="1.6" stroke-linecap="round"/>'))
        write("plus" + suffix, svg(16, 16, f'<circle cx="8" cy="8" r="7.5" fill="{fill}" stroke="{ring}"/>'
                                   f'<path d="M4.5 8 H11.5 M8 4.5 V11.5" stroke="{col}" stroke-width="1.6" stroke-linecap="round"/>'))

def slider_parts():
    for on in (False, True):
        suffix = "_on" if on else ""
        track = "#4a4a50" if not on else "#5c5c63"
        write("slider_left" + suffix, svg(4, 6, f'<path d="M4 1 H3 A2 2 0 0 0 3 5 H4 Z" fill="{track}"/>', stretch=True))
        write("slider_center" + suffix, svg(4, 6, f'<rect x="0" y="1" width="4" height="4" fill="{track}"/>', stretch=True))
        write("slider_right" + suffix, svg(4, 6, f'<path d="M0 1 H1 A2 2 0 0 1 1 5 H0 Z" fill="{track}"/>', stretch=True))
    write("slider_knob", svg(14, 14, '<circle cx="7" cy="7.5" r="6" fill="#000" opacity="0.35"/>'
                                     '<circle cx="7" cy="7" r="6" fill="#e8e8ec" stroke="#9a9aa0" stroke-width="0.8"/>'))
    write("slider_knob_on", svg(14, 14, '<circle cx="7" cy="7.5" r="6" fill="#000" opacity="0.35"/>'
                                        f'<circle cx="7" cy="7" r="6" fill="#ffffff" stroke="{ACCENT}" stroke-width="1.2"/>'))
    write("slider_marker", svg(2, 10, '<rect x="0" y="0" width="2" height="10" rx="1" fill="#8a8a90"/>'))
    write("color_picker_tumb", svg(14, 14, '<circle cx="7" cy="7" r="5.5" fill="none" stroke="#000" stroke-width="2.6" opacity="0.5"/>'
                                           '<circle cx="7" cy="7" r="5.5" fill="none" stroke="#fff" stroke-width="1.6"/>'))

def checks():
    path = "M2.5 6.5 L5 9 L9.5 3.5"
    write("check_y", svg(11, 11, f'<path d="{path}" fill="none" stroke="#1d1d1f" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round"/>'))
    write("check_b", svg(11, 11, f'<path d="{path}" fill="none" stroke="{ACCENT}" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round"/>'))

def close_buttons():
    for name, fill, cross in (("close_dialog", "#5a5a60", "#1d1d1f"), ("close_dialog_over", "#e0554b", "#2a0d0b"),
                              ("close_dialog_on", "#3a3a3e", "#55555a")):
        write(name, svg(13, 15, f'<circle cx="6.5" cy="7.5" r="6" fill="{fill}"/>'
                                f'<path d="M4.3 5.3 L8.7 9.7 M8.7 5.3 L4.3 9.7" stroke="{cross}" stroke-width="1.4" stroke-linecap="round"/>'))

def question_mark():
    write("question_mark", svg(27, 27, '<circle cx="13.5" cy="13.5" r="11" fill="#3a3a3e" stroke="#fff" stroke-width="2.5"/>'
                                       '<path d="M10 10.5 A3.6 3.6 0 1 1 14.8 13.9 C13.8 14.3 13.5 15 13.5 16.2" fill="none" stroke="#d8d8dc" stroke-width="2" stroke-linecap="round"/>'
                                       '<circle cx="13.5" cy="19.6" r="1.3" fill="#d8d8dc"/>'))

def background_tools():
    write("background_tools", svg(8, 8, '<rect width="8" height="8" fill="#29292c"/>'
                                        '<rect x="0" y="0" width="1" height="1" fill="#2e2e31"/><rect x="4" y="4" width="1" height="1" fill="#2e2e31"/>'))

# Tool and action icons, 24 × 24, drawn in a light grey; the "_on" look is the accent.
ICONS = {
    "tool_paint": '<path d="M14.5 4.5 L19.5 9.5 L11 18 L6 13 Z" fill="{c}"/><path d="M5 14 L10 19 C8 21 5 21.5 3 21 C3.5 19 3 16 5 14 Z" fill="{c}" opacity="0.7"/>',
    "tool_solidcolor": '<path d="M5 11 L11 5 L19 13 L13 19 Z" fill="none" stroke="{c}" stroke-width="1.6" stroke-linejoin="round"/><path d="M5 11 L19 13 L13 19 Z" fill="{c}" opacity="0.8"/><path d="M20 15 C21.5 17.5 21.5 19 20 19.5 C18.5 19 18.5 17.5 20 15 Z" fill="{c}"/>',
    "tool_hand": '<path d="M8 12 V6 A1.3 1.3 0 0 1 10.6 6 V11 V4.5 A1.3 1.3 0 0 1 13.2 4.5 V11 V5.5 A1.3 1.3 0 0 1 15.8 5.5 V11.5 V8 A1.3 1.3 0 0 1 18.4 8 V14 C18.4 18 16 20.5 12.5 20.5 C10 20.5 8.6 19.3 7.3 17.5 L4.6 13.6 A1.4 1.4 0 0 1 6.8 11.9 Z" fill="{c}"/>',
    "tool_picker": '<circle cx="12" cy="12" r="7" fill="none" stroke="{c}" stroke-width="1.6"/><path d="M12 2.5 V7 M12 17 V21.5 M2.5 12 H7 M17 12 H21.5" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/><circle cx="12" cy="12" r="1.6" fill="{c}"/>',
    "mask_invert": '<circle cx="12" cy="12" r="7.5" fill="none" stroke="{c}" stroke-width="1.6"/><path d="M12 4.5 A7.5 7.5 0 0 1 12 19.5 Z" fill="{c}"/>',
    "mask_clear": '<rect x="5" y="5" width="14" height="14" rx="2" fill="none" stroke="{c}" stroke-width="1.6"/><path d="M9 9 L15 15 M15 9 L9 15" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/>',
    "mask_show": '<path d="M2.5 12 C5.5 7 9 5.5 12 5.5 C15 5.5 18.5 7 21.5 12 C18.5 17 15 18.5 12 18.5 C9 18.5 5.5 17 2.5 12 Z" fill="none" stroke="{c}" stroke-width="1.6"/><circle cx="12" cy="12" r="3.2" fill="{c}"/>',
    "reset": '<path d="M6.5 9 A6.5 6.5 0 1 1 5.5 13.5" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/><path d="M6.8 4.5 V9.3 H11.6" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/>',
    "colors_panel": '<circle cx="9" cy="9" r="4.5" fill="#e0554b"/><circle cx="15" cy="9" r="4.5" fill="#5ac05a" opacity="0.85"/><circle cx="12" cy="14" r="4.5" fill="#4a8ee8" opacity="0.85"/>',
}

def icons():
    for name, body in ICONS.items():
        for suffix, c, bg in (("", "#c8c8cc", None), ("_on", "#1d1d1f", ACCENT), ("_dis", "#5a5a5f", None)):
            back = f'<rect x="0.5" y="0.5" width="31" height="31" rx="6" fill="{bg}"/>' if bg else ""
            write(name + suffix, svg(32, 32, back + f'<g transform="translate(4 4)">{body.format(c=c)}</g>'))

# The eraser shows what erasing brings back: the treatment's tone.
def erasers():
    tones = {"grayscale": ("#f2f2f2", "#4a4a4a"), "sepia": ("#f3e3c4", "#6b4f2a"), "bluetone": ("#e4edf6", "#3d5570")}
    for name, (light, dark) in tones.items():
        for suffix, ring in (("", "#5a5a60"), ("_on", ACCENT)):
            bg = f'<rect x="0.5" y="0.5" width="31" height="31" rx="6" fill="{ring if suffix else "none"}"/>'
            write(name + suffix, svg(32, 32, bg + f'<defs><linearGradient id="g" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="{light}"/><stop offset="1" stop-color="{dark}"/></linearGradient></defs>'
                                     '<g transform="translate(4 4) rotate(-40 12 12)"><rect x="3" y="8" width="18" height="9" rx="2" fill="url(#g)" stroke="#1d1d1f" stroke-width="0.8"/>'
                                     '<rect x="3" y="8" width="6" height="9" rx="2" fill="#d06a6a" stroke="#1d1d1f" stroke-width="0.8"/></g>'))

# Treatment swatches: a round sample of each background tone.
def treatments():
    tones = {"treatment_grayscale": ("#f0f0f0", "#202020"), "treatment_sepia": ("#f5e6c8", "#4b3218"),
             "treatment_aged": ("#efe0b0", "#5a4620"), "treatment_silverblue": ("#e6eef7", "#26384c")}
    for name, (light, dark) in tones.items():
        for suffix, ring, width in (("", "#5a5a60", 1), ("_on", ACCENT, 2.4)):
            write(name + suffix, svg(34, 34, f'<defs><linearGradient id="t" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="{light}"/><stop offset="1" stop-color="{dark}"/></linearGradient></defs>'
                                     f'<circle cx="17" cy="17" r="14.5" fill="url(#t)" stroke="{ring}" stroke-width="{width}"/>'))

# Brush presets: the dab each one paints, at its size, softness and opacity.
PRESETS = [(35, 4, 1.0), (35, 90, 0.8), (22, 90, 0.75), (35, 5, 0.42), (35, 100, 0.4), (24, 100, 0.4),
           (16, 4, 1.0), (13, 90, 0.82), (10, 90, 0.5), (17, 5, 0.45), (15, 100, 0.36), (10, 100, 0.3)]

def brush_presets():
    # Soft edges as stacked discs (the SVG renderer here draws no radial gradients).
    for i, (size, soft, opacity) in enumerate(PRESETS):
        r = size / 35 * 13
        inner = r * (1 - soft / 100)
        steps = 8 if soft > 0 else 1
        discs = ""
        for k in range(steps):
            rk = r - (r - inner) * k / steps
            # each disc adds its share so that the centre reaches the preset's opacity
            share = 1 - (1 - opacity) ** (1 / steps)
            discs += f'<circle cx="16" cy="16" r="{rk:.2f}" fill="#fff" fill-opacity="{share:.3f}"/>'
        for suffix, frame_col in (("", "#3c3c40"), ("_on", ACCENT)):
            write(f"brush_preset_{i}{suffix}", svg(32, 32,
                  f'<rect x="0.5" y="0.5" width="31" height="31" rx="5" fill="#232326" stroke="{frame_col}"/>' + discs))

# Plain text buttons (preset types, tabs): a rounded body stretched under the title.
def text_buttons():
    for name, fill, stroke in (("button", "#343438", "#4a4a50"), ("button_on", ACCENT, ACCENT),
                               ("button_dis", "#2a2a2d", "#35353a"), ("button_pressed", "#46464c", "#5a5a60")):
        write(name, svg(12, 12, f'<rect x="0.5" y="0.5" width="11" height="11" rx="3" fill="{fill}" stroke="{stroke}"/>'))

# The window: backgrounds behind the picture, side shadows, the top bar, compare labels.
def window_images():
    for name, base, dot in (("back_dark_grey", "#2a2a2c", "#2e2e30"), ("back_grey", "#4a4a4d", "#4f4f52"),
                            ("back_medium_grey", "#77777a", "#7c7c7f"), ("back_light_grey", "#c9c9cc", "#cfcfd2")):
        write(name, svg(8, 8, f'<rect width="8" height="8" fill="{base}"/><rect x="0" y="0" width="1" height="1" fill="{dot}"/>'
                              f'<rect x="4" y="4" width="1" height="1" fill="{dot}"/>'))
    for name, x1, x2 in (("shadow_left", 0, 1), ("shadow_right", 1, 0)):
        write(name, svg(461, 16, f'<defs><linearGradient id="s" x1="{x1}" y1="0" x2="{x2}" y2="0">'
                                 '<stop offset="0" stop-color="#000" stop-opacity="0.45"/>'
                                 '<stop offset="1" stop-color="#000" stop-opacity="0"/></linearGradient></defs>'
                                 '<rect width="461" height="16" fill="url(#s)"/>', stretch=True))
    write("top_bar_top", svg(8, 49, '<defs><linearGradient id="t" x1="0" y1="0" x2="0" y2="1">'
                                    '<stop offset="0" stop-color="#3a3a3e"/><stop offset="1" stop-color="#28282b"/>'
                                    '</linearGradient></defs><rect width="8" height="49" fill="url(#t)"/>'
                                    '<rect y="48" width="8" height="1" fill="#161618"/>', stretch=True))
    write("slider_square", svg(15, 15, '<rect width="15" height="15" fill="#2a2a2c"/>'))
    write("close_compare", svg(24, 24, '<circle cx="12" cy="12" r="10" fill="#000" opacity="0.55"/>'
                                       '<path d="M8 8 L16 16 M16 8 L8 16" stroke="#fff" stroke-width="1.8" stroke-linecap="round"/>'))
    for name, label in (("before_compare", "BEFORE"), ("after_compare", "AFTER")):
        write(name, svg(72, 20, '<rect x="0.5" y="0.5" width="71" height="19" rx="9.5" fill="#000" opacity="0.6"/>'
                                f'<text x="36" y="14" font-family="Helvetica, sans-serif" font-size="10" font-weight="bold" '
                                f'fill="#fff" text-anchor="middle" letter-spacing="1">{label}</text>'))

TOP_ICONS = {
    "top_open": '<path d="M3 7 H9 L11 9 H21 V19 H3 Z" fill="none" stroke="{c}" stroke-width="1.6" stroke-linejoin="round"/>',
    "top_save": '<path d="M12 4 V14 M8 10 L12 14 L16 10" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/><path d="M4 15 V19 H20 V15" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/>',
    "top_undo": '<path d="M9 7 L5 11 L9 15" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/><path d="M5 11 H14 A5 5 0 0 1 14 21 H11" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/>',
    "top_redo": '<path d="M15 7 L19 11 L15 15" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/><path d="M19 11 H10 A5 5 0 0 0 10 21 H13" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/>',
    "top_zoom_in": '<circle cx="10.5" cy="10.5" r="6" fill="none" stroke="{c}" stroke-width="1.6"/><path d="M15 15 L20 20 M8 10.5 H13 M10.5 8 V13" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/>',
    "top_zoom_out": '<circle cx="10.5" cy="10.5" r="6" fill="none" stroke="{c}" stroke-width="1.6"/><path d="M15 15 L20 20 M8 10.5 H13" stroke="{c}" stroke-width="1.6" stroke-linecap="round"/>',
    "top_fit": '<path d="M4 9 V4 H9 M15 4 H20 V9 M20 15 V20 H15 M9 20 H4 V15" fill="none" stroke="{c}" stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round"/>',
    "top_actual": '<rect x="4" y="5" width="16" height="14" rx="2" fill="none" stroke="{c}" stroke-width="1.6"/><text x="12" y="15.5" font-family="Helvetica, sans-serif" font-size="7.5" font-weight="bold" fill="{c}" text-anchor="middle">1:1</text>',
    "top_compare": '<rect x="3" y="5" width="18" height="14" rx="2" fill="none" stroke="{c}" stroke-width="1.6"/><path d="M12 5 V19" stroke="{c}" stroke-width="1.6"/><rect x="12" y="5" width="9" height="14" rx="2" fill="{c}" opacity="0.55"/>',
    "top_hold_compare": '<rect x="3" y="5" width="18" height="14" rx="2" fill="none" stroke="{c}" stroke-width="1.6"/><path d="M5 17 L10 11 L13.5 14.5 L15.5 12.5 L19 17 Z" fill="{c}"/><circle cx="16.5" cy="8.8" r="1.6" fill="{c}"/>',
    "top_apply": '<path d="M5 12.5 L10 17 L19 7" fill="none" stroke="{c}" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round"/>',
}

def picker_buttons():
    for name, body in (("cp_apply", '<path d="M9 16.5 L14 21.5 L23 11" fill="none" stroke="{c}" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>'),
                       ("cp_cancel", '<path d="M11 11 L21 21 M21 11 L11 21" stroke="{c}" stroke-width="2.4" stroke-linecap="round"/>')):
        for suffix, fill, ink in (("", "#3a3a3e", "#f0f0f2"), ("_on", ACCENT, "#1d1d1f"), ("_dis", "#2a2a2d", "#5a5a5f")):
            write(name + suffix, svg(32, 32, f'<circle cx="16" cy="16" r="15" fill="{fill}"/>' + body.format(c=ink)))

def top_icons():
    for name, body in TOP_ICONS.items():
        for suffix, c, bg in (("", "#d0d0d4", None), ("_on", "#1d1d1f", ACCENT), ("_dis", "#5a5a5f", None)):
            back = f'<rect x="0.5" y="0.5" width="31" height="31" rx="6" fill="{bg}"/>' if bg else ""
            write(name + suffix, svg(32, 32, back + f'<g transform="translate(4 4)">{body.format(c=c)}</g>'))

def main():
    os.makedirs(OUT, exist_ok=True)
    frame("adj_", 6, "#2e2e31", "#3e3e43", top="#45454b")
    frame("adj_", 6, "#36363a", "#4a4a50", top="#56565c", suffix="_s")
    frame("dialog_", 10, "#323236", "#4c4c52", top="#5a5a60", shadow="#000")
    frame("notification_", 10, "#1f1f22", "#3a3a3e")
    frame("drawing_", 5, "#262629", "#343438")
    plus_minus()
    slider_parts()
    checks()
    close_buttons()
    question_mark()
    background_tools()
    icons()
    erasers()
    treatments()
    brush_presets()
    text_buttons()
    window_images()
    top_icons()
    picker_buttons()

if __name__ == "__main__":
    sys.exit(main())
