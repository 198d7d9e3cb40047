// Runs in every frame before the page's own scripts. The designer's pages were written for a
// browser that reported navigations synchronously and offered clipboardData, document.all.tags
// and style.posLeft/posTop; this gives them the same, talking to the program through
// window.prompt, which the program answers before the script goes on.
(function () {
    'use strict';
    if (window.__quilloraChannel) {
        return;
    }
    window.__quilloraChannel = true;

    var allowNext = false;

    function ask(tag, value) {
        var answer = window.prompt(tag, value);
        return answer === null ? '' : answer;
    }

    function absolute(address) {
        if (/^[a-zA-Z][a-zA-Z0-9+.\-]*:/.test(address)) {
            return address;
        }
        try {
            return new URL(address, document.baseURI).href;
        } catch (e) {
            return address;
        }
    }

    // Hands the address to the program, which runs its commands, and navigates only when the
    // program lets the browser load it.
    window.hostNavigate = function (address) {
        var target = absolute(String(address));
        if (ask('quillora:navigate', target) !== 'allow') {
            return;
        }
        allowNext = true;
        window.location.href = target;
    };

    if (window.navigation) {
        window.navigation.addEventListener('navigate', function (event) {
            if (allowNext) {
                allowNext = false;
                return;
            }
            if (!event.cancelable) {
                return;
            }
            if (ask('quillora:navigate', event.destination.url) !== 'allow') {
                event.preventDefault();
            }
        });
    }

    window.clipboardData = {
        setData: function (format, text) {
            ask('quillora:clipboard-set', String(text));
            return true;
        },
        getData: function () {
            return ask('quillora:clipboard-get', '');
        }
    };

    if (typeof HTMLAllCollection !== 'undefined' && !HTMLAllCollection.prototype.tags) {
        HTMLAllCollection.prototype.tags = function (name) {
            return document.getElementsByTagName(name);
        };
    }

    function pixelProperty(name) {
        return {
            configurable: true,
            get: function () {
                var value = parseInt(this[name], 10);
                return isNaN(value) ? 0 : value;
            },
            set: function (value) {
                this[name] = Math.round(Number(value)) + 'px';
            }
        };
    }
    if (!('posLeft' in CSSStyleDeclaration.prototype)) {
        Object.defineProperty(CSSStyleDeclaration.prototype, 'posLeft', pixelProperty('left'));
        Object.defineProperty(CSSStyleDeclaration.prototype, 'posTop', pixelProperty('top'));
    }
})();
