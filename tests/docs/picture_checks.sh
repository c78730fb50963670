# Checks on the README's pictures (sourced by screenshots.sh after the
# e2e helpers, which give fail).

# Number of pixels of colour r g b (within 2 units) in the w x h rectangle
# at x, y of a picture. Usage: count_colour FILE X Y W H R G B
count_colour() {
    /usr/bin/convert "$1" -crop "$4x$5+$2+$3" +repage \
        -fx "abs(r*255-$6) <= 2 && abs(g*255-$7) <= 2 && abs(b*255-$8) <= 2 ? 1 : 0" \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Fails unless the picture is w x h pixels.
check_size() {
    size=$(/usr/bin/identify -format '%wx%h' "$1")
    [ "$size" = "$2x$3" ] || fail "$(basename "$1") is $size, not $2x$3"
}

# Largest value of one channel (r, g or b), 0..255.
channel_max() {
    /usr/bin/convert "$1" -channel "$2" -separate -format '%[fx:int(maxima*255+0.5)]' info:
}

# Pixels whose fx expression holds.
count_where() {
    /usr/bin/convert "$1" -fx "$2 ? 1 : 0" -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Fails unless a rendered frame of the 40 x 20 channel at 6 pixels per cell (the file leaves out row and column 0)
# looks like its element: the fill colours of the boundary cells, grey-only
# dots for streamlines and vectors, one colour channel for each field.
check_frame() {
    file=$2
    check_size "$file" 239 119
    case $1 in
    boundary)
        [ "$(count_colour "$file" 0 0 239 119 90 90 90)" -gt 1000 ] || fail "boundary frame: too few wall pixels"
        [ "$(count_colour "$file" 0 0 239 119 50 255 50)" -gt 300 ] || fail "boundary frame: too few inflow pixels"
        [ "$(count_colour "$file" 0 0 239 119 255 50 50)" -gt 100 ] || fail "boundary frame: too few outflow pixels"
        ;;
    streamlines | vectors)
        lit=$(count_where "$file" 'r+g+b > 0')
        [ "$lit" -gt 1000 ] || fail "$1 frame: only $lit lit pixels"
        coloured=$(count_where "$file" 'r != g || g != b')
        [ "$coloured" -eq 0 ] || fail "$1 frame: $coloured pixels are not grey"
        ;;
    u | v | p)
        case $1 in u) on=R; off="G B" ;; v) on=G; off="R B" ;; p) on=B; off="R G" ;; esac
        for c in $off; do
            [ "$(channel_max "$file" "$c")" -eq 0 ] || fail "$1 frame: channel $c is not black"
        done
        [ "$(channel_max "$file" "$on")" -gt 100 ] || fail "$1 frame: channel $on stays dark"
        ;;
    *)
        fail "no check for element $1"
        ;;
    esac
}
